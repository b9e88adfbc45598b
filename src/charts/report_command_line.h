#pragma once

#include "app/command_line.h"
#include "charts/report_page.h"
#include "files/save_file.h"

#include <ostream>

namespace report {

// The page written as a PDF file through a temporary file beside it: a failure leaves any
// previous file as it was.
SaveResult SavePdf(const wxString& path, const Page& page);

// zpm --report: the job file read, the record evaluated, the page written and its figures
// printed. Exit status 0 with a report, 1 when the record cannot be evaluated (the reason on err,
// no file written), 2 for a job file that cannot be read, a record it does not hold or an output
// that cannot be written.
int RunFromCommandLine(const commandline::ReportRequest& request, const wxString& program, std::ostream& out,
                       std::ostream& err);

}  // namespace report
