// Live recordings that a crash left behind: offered back at start; the journals of saved records
// forgotten.
#include "acquisition/recovery_journal.h"
#include "data/translate.h"
#include "mainframe/main_frame.h"

#include <wx/datetime.h>
#include <wx/log.h>
#include <wx/msgdlg.h>

namespace {

wxString QuestionText(const Storage& record, bool damaged) {
    const long long ms = static_cast<long long>(record.SampleCount()) * record.IntervalMs();
    const wxString duration = wxTimeSpan::Milliseconds(ms).Format(wxString::FromUTF8("%H:%M:%S"));
    wxString text = wxString::Format(
        Tr("Eine Live-Aufzeichnung wurde nicht beendet: „%s“, begonnen %s, Dauer %s, %d Messpunkte."),
        record.Title(), record.DateText(), duration, record.SampleCount());
    if (damaged)
        text +=
            Tr("\n\nIhre Wiederherstellungsdatei ist beschädigt; alle vollständig gesicherten Messpunkte bis "
               "zur beschädigten Stelle können wiederhergestellt werden.");
    return text + Tr("\n\nSoll die Aufzeichnung wiederhergestellt werden?");
}

}  // namespace

void MainFrame::OfferRecovery() {
    std::vector<recovery::Abandoned> abandoned = recovery::ClaimAbandoned(recovery::JournalFolder());
    if (!abandoned.empty())
        CloseSplash();  // it stays on top of everything: it would cover the question
    for (recovery::Abandoned& found : abandoned) {
        if (!found.record) {
            const std::string aside = found.journal->SetAside();
            wxLogError(Tr("Eine Live-Aufzeichnung wurde nicht beendet, aber ihre Wiederherstellungsdatei ist "
                          "unlesbar. Sie liegt unter %s."),
                       wxString::FromUTF8(aside));
            continue;
        }
        wxMessageDialog ask(nullptr, QuestionText(*found.record, found.damaged), Tr("Wiederherstellen"),
                            wxYES_NO | wxICON_QUESTION);
        if (ask.ShowModal() != wxID_YES) {
            found.journal->Remove();
            continue;
        }
        // Back in the list as the live record was, at the front; its journal keeps guarding it
        // until it is saved.
        InsertRecordAtFront(*found.record);
        journals->Add(0, std::move(found.journal));
        savedFlag = false;
        RefreshRecordList();
    }
}

void MainFrame::ForgetSavedJournals() {
    // A recording that goes on after the save still needs its journal for what comes next.
    journals->RemoveAllBut(liveRecordIndex);
}
