// The hydrant test evaluation of the "Daten" menu: evaluates the one selected record, marks its
// phases on the chart while the dialog is open, and on request writes the figures into the
// record's text box.
#include "app/command_ids.h"
#include "data/hydrant_evaluation.h"
#include "dialogs/hydrant_dialog.h"
#include "mainframe/main_frame.h"
#include "plot/phase_shading.h"
#include "plot/plot_window.h"

#include <wx/listctrl.h>
#include <wx/msgdlg.h>

namespace {
wxString U(const char* text) {
    return wxString::FromUTF8(text);
}
}  // namespace

void MainFrame::OnUpdateHydrantTest(wxUpdateUIEvent& event) {
    event.Enable(recordList->GetSelectedItemCount() == 1);
}

void MainFrame::OnHydrantTest(wxCommandEvent&) {
    if (recordList->GetSelectedItemCount() != 1)
        return;
    const long r = recordList->GetFirstSelected();
    if (r < 0 || r >= static_cast<long>(records.size()))
        return;
    hydrant::Evaluation evaluation =
        hydrant::Evaluate(records[r], hydrant::DefaultRequiredPressure(records[r].PressureUnit()));
    if (!evaluation.phasesFound) {
        wxMessageDialog refused(this, evaluation.reason, U("Hydrantenprüfung"), wxOK | wxICON_INFORMATION);
        refused.ShowModal();
        return;
    }

    if (chartedRecord != r)
        ChartRecord(r);
    if (!phaseShading)
        phaseShading = std::make_unique<mpPhaseShading>();
    phaseShading->SetBands({
        {evaluation.restPhase.startTime, evaluation.restPhase.endTime, wxColour(40, 110, 200), U("Ruhe")},
        {evaluation.flowingPhase.startTime, evaluation.flowingPhase.endTime, wxColour(30, 150, 60),
         U("Fließen")},
    });
    plotWindow->AttachLayer(phaseShading.get());
    plotWindow->Refresh(false);

    HydrantDialog dialog(this, evaluation, hydrant::UnitsOf(records[r]));
    const int answer = dialog.ShowModal();
    // The minimum pressure given here is the one the span's readout counts the time below.
    if (r < static_cast<long>(records.size()) && dialog.Result().requiredPressure > 0) {
        hydrantMinimum[records[r].PressureUnit()] = dialog.Result().requiredPressure;
        UpdateSpanReadout();
    }

    // The marks go with the dialog.
    for (int key = 0; key < plotWindow->LayerCount() + 64; ++key) {
        if (plotWindow->LayerAt(key) == phaseShading.get()) {
            plotWindow->DetachLayer(key);
            break;
        }
    }
    plotWindow->Refresh(false);

    if (answer != wxID_APPLY || r >= static_cast<long>(records.size()))
        return;
    Storage& record = records[r];
    wxString text = dialog.Text();
    // What the user wrote into the text box before stays above the figures.
    if (!record.NoteText().empty())
        text = record.NoteText() + U("\n") + text;
    record.SetNoteText(text);
    savedFlag = false;
    RefreshRecordList();
    ChartRecord(r);
    recordList->Select(r);
    recordList->Focus(r);
}
