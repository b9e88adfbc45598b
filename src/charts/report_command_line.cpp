#include "charts/report_command_line.h"
#include "data/translate.h"

#include "app/tester_file.h"
#include "data/storage.h"
#include "files/job_file.h"

#include <cmath>

namespace report {

namespace {
std::string Utf8(const wxString& text) {
    return text.utf8_string();
}
}  // namespace

SaveResult SavePdf(const wxString& path, const Page& page) {
    return SaveFileSafely(path, [&](std::ostream& out) { return WritePdf(out, page); });
}

int RunFromCommandLine(const commandline::ReportRequest& request, const wxString& program, std::ostream& out,
                       std::ostream& err) {
    const std::string me = Utf8(program) + ": ";
    const std::optional<jobfile::ReadResult> job = jobfile::Load(request.job);
    if (!job) {
        err << me << "cannot read the job file " << Utf8(request.job) << "\n";
        return 2;
    }
    if (job->damaged)
        err << me << "the job file is damaged (" << job->problem
            << "); the records read completely are used\n";
    if (request.record < 1 || request.record > static_cast<long>(job->records.size())) {
        err << me << "the job file holds " << job->records.size() << " records, not record " << request.record
            << "\n";
        return 2;
    }
    const Storage& record = job->records[request.record - 1];
    const double required = std::isnan(request.minPressure)
                                ? hydrant::DefaultRequiredPressure(record.PressureUnit())
                                : request.minPressure;
    const hydrant::Evaluation evaluation = hydrant::Evaluate(record, required);
    if (!evaluation.phasesFound || !evaluation.ok) {
        err << me << "record " << request.record << ": " << Utf8(evaluation.reason) << "\n";
        return 1;
    }
    Site site;
    site.place = record.Title();
    site.line = record.Subtitle();
    site.tester = request.testerGiven ? request.tester : testerfile::Load(testerfile::DefaultPath());
    const Page page = MakePage(record, evaluation, site);
    switch (SavePdf(request.output, page)) {
        case SaveResult::Ok:
            break;
        case SaveResult::CannotOpen:
            err << me << "cannot open " << Utf8(request.output) << " for writing\n";
            return 2;
        case SaveResult::WriteFailed:
            err << me << "error writing " << Utf8(request.output) << "\n";
            return 2;
    }
    out << Utf8(Tr("Prüfbericht Hydrantenprüfung: ")) << Utf8(request.output) << "\n"
        << Utf8(Tr("Hydrant / Ort: ")) << Utf8(site.place) << "\n"
        << Utf8(Tr("Leitung: ")) << Utf8(site.line) << "\n"
        << Utf8(Tr("Prüfer: ")) << Utf8(site.tester) << "\n"
        << Utf8(Tr("Messung: ")) << Utf8(page.testTime) << Utf8(Tr(", Logger ")) << page.serialNumber << "\n"
        << Utf8(hydrant::ReportLines(page.figures));
    return 0;
}

}  // namespace report
