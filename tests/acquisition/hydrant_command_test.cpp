// The hydrant test evaluation as a user meets it: the demo logger's events downloaded, one
// selected, "Hydrantenprüfung auswerten" from the "Daten" menu, the required pressure changed
// in the dialog, the figures taken into the text box and saved with the job.
#include "acquisition_fixture.h"

#include "dialogs/hydrant_dialog.h"
#include "emulator/demo_content.h"
#include "files/job_file.h"
#include "plot/phase_shading.h"
#include "plot/plot_window.h"

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdlib>
#include <filesystem>

namespace {

// What the dialog showed, and how the test answered it.
struct Seen {
    std::vector<std::string> values;
    std::string available, availableAt3Bar, availableAt9Bar, reasonAt9Bar;
    bool transferEnabledAt9Bar = true;
    bool phasesMarked = false;
    std::string text;
};

class ExpectHydrantDialog : public wxExpectModalBase<HydrantDialog, ExpectHydrantDialog> {
public:
    ExpectHydrantDialog(Seen& seen, mpWindow* plot, int answer) : seen(seen), plot(plot), answer(answer) {}

protected:
    int OnInvoked(HydrantDialog* dlg) const override {
        for (int row = 0; row < 5; ++row)
            seen.values.push_back(dlg->ValueText(row).utf8_string());
        seen.available = dlg->AvailableFlowLabel()->GetLabel().utf8_string();
        for (mpLayer* layer : plot->Layers())
            seen.phasesMarked |= dynamic_cast<mpPhaseShading*>(layer) != nullptr;
        // Typing recomputes at once: the field sends its text event as a user's keys do.
        dlg->RequiredPressureField()->ChangeValue(wxString::FromAscii("9"));
        dlg->RequiredPressureField()->SetValue(wxString::FromAscii("9"));
        seen.availableAt9Bar = dlg->AvailableFlowLabel()->GetLabel().utf8_string();
        seen.reasonAt9Bar = dlg->ReasonLabel()->GetLabel().utf8_string();
        seen.transferEnabledAt9Bar = dlg->TransferButton()->IsEnabled();
        dlg->RequiredPressureField()->SetValue(wxString::FromAscii("3,0"));
        seen.availableAt3Bar = dlg->AvailableFlowLabel()->GetLabel().utf8_string();
        seen.text = dlg->Text().utf8_string();
        if (answer == wxID_APPLY) {
            wxCommandEvent press(wxEVT_BUTTON, dlg->TransferButton()->GetId());
            press.SetEventObject(dlg->TransferButton());
            dlg->TransferButton()->GetEventHandler()->ProcessEvent(press);
        }
        return answer;
    }

private:
    Seen& seen;
    mpWindow* plot;
    int answer;
};

class HydrantCommandTest : public AcquisitionTest {
protected:
    void DownloadDemoEvents() {
        emu::FillDemoContent(*logger);
        wxTEST_DIALOG(Button(ID_UPLOAD),
                      ExpectMessage(wxID_NO, U8("Save files to computer drive?"), U8("Save new data?")));
        ASSERT_EQ(frame->Records().size(), 4u);
    }
    void SelectOnly(int row) {
        for (int i = 0; i < frame->RecordList()->GetItemCount(); ++i)
            frame->RecordList()->Select(i, i == row);
        if (row >= 0)
            frame->RecordList()->Focus(row);
        PumpEvents();
    }
    bool MenuEnabled() {
        wxUpdateUIEvent update(ID_HYDRANT_TEST);
        update.SetEventObject(frame);
        frame->GetEventHandler()->ProcessEvent(update);
        return !update.GetSetEnabled() || update.GetEnabled();
    }
};

TEST_F(HydrantCommandTest, DemoEventEvaluatedChangedAndSavedInTheTextBox) {
    DownloadDemoEvents();
    // "Speicher 2": 420 samples at 1 s, 850 l/min, 6.1 bar at rest, 3.2 bar flowing.
    const int row = 2;
    ASSERT_EQ(frame->Records()[row].SampleCount(), 420);

    SelectOnly(-1);
    EXPECT_FALSE(MenuEnabled());
    frame->RecordList()->Select(1);
    frame->RecordList()->Select(2);
    EXPECT_FALSE(MenuEnabled());  // two rows
    SelectOnly(row);
    EXPECT_TRUE(MenuEnabled());
    EXPECT_NE(frame->GetMenuBar()->FindItem(ID_HYDRANT_TEST), nullptr);
    EXPECT_EQ(frame->GetMenuBar()->GetLabel(ID_HYDRANT_TEST), U8("Hydrantenprüfung auswerten"));

    frame->SetSaved(true);
    Seen seen;
    wxTEST_DIALOG(Command(ID_HYDRANT_TEST), ExpectHydrantDialog(seen, frame->PlotWindow(), wxID_APPLY));

    ASSERT_EQ(seen.values.size(), 5u);
    const double staticBar = std::atof(seen.values[0].c_str()),
                 flowingBar = std::atof(seen.values[1].c_str());
    const double flow = std::atof(seen.values[2].c_str());
    EXPECT_NEAR(staticBar, 6.1, 0.15) << seen.values[0];
    EXPECT_NEAR(flowingBar, 3.2, 0.15) << seen.values[1];
    EXPECT_NEAR(flow, 850, 20) << seen.values[2];
    EXPECT_NE(seen.values[0].find(" Bar"), std::string::npos);
    EXPECT_NE(seen.values[2].find(" l/min"), std::string::npos);
    EXPECT_TRUE(seen.phasesMarked);
    // At the default 1.5 bar more than the measured flow is available.
    EXPECT_GT(std::atof(seen.available.c_str()), flow);
    EXPECT_EQ(seen.availableAt9Bar, "–");
    EXPECT_EQ(seen.reasonAt9Bar, "Der geforderte Mindestdruck liegt nicht unter dem Ruhedruck.");
    EXPECT_FALSE(seen.transferEnabledAt9Bar);
    const double at3 = std::atof(seen.availableAt3Bar.c_str());
    EXPECT_NEAR(at3, flow * std::pow((staticBar - 3.0) / (staticBar - flowingBar), 0.54), 3.0);

    // The marks went with the dialog; the figures are in the record's text box and charted.
    for (mpLayer* layer : frame->PlotWindow()->Layers())
        EXPECT_EQ(dynamic_cast<mpPhaseShading*>(layer), nullptr);
    const Storage& record = frame->Records()[row];
    EXPECT_EQ(record.NoteText().utf8_string(), seen.text);
    EXPECT_NE(seen.text.find("Mindestdruck: 3.00 Bar"), std::string::npos) << seen.text;
    EXPECT_EQ(seen.text.rfind("Hydrantenprüfung\nRuhedruck: ", 0), 0u) << seen.text;
    EXPECT_FALSE(frame->IsSaved());

    // Saved with the job and read back.
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("zpm-hydrant-" + std::to_string(::getpid()) + ".kvr");
    wxTEST_DIALOG(Command(ID_SAVE_JOB_AS), wxExpectModal<wxFileDialog>(wxString::FromUTF8(file.string())));
    auto read = jobfile::Load(wxString::FromUTF8(file.string()));
    std::filesystem::remove(file);
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->records.size(), 4u);
    EXPECT_EQ(read->records[row].NoteText().utf8_string(), seen.text);
}

TEST_F(HydrantCommandTest, CancelChangesNothingAndAFlatRecordIsRefusedWithItsReason) {
    DownloadDemoEvents();
    SelectOnly(0);
    frame->SetSaved(true);
    Seen seen;
    wxTEST_DIALOG(Command(ID_HYDRANT_TEST), ExpectHydrantDialog(seen, frame->PlotWindow(), wxID_CANCEL));
    EXPECT_TRUE(frame->Records()[0].NoteText().empty());
    EXPECT_TRUE(frame->IsSaved());

    Storage flat(U8("24/03/2023 13:05:09"), 1000, 1, false, 0, 1);
    flat.SetPressureUnit(98);
    for (int i = 0; i < 60; ++i)
        flat.AddSample(static_cast<float>(i + 1), 0.0f, 5.0f, 0.0f);
    frame->AppendRecord(flat);
    frame->RefreshRecordList();
    SelectOnly(4);
    wxTEST_DIALOG(Command(ID_HYDRANT_TEST),
                  ExpectMessage(wxID_OK, U8("Kein Fließabschnitt: der Durchfluss steigt nicht an."),
                                U8("Hydrantenprüfung")));
}

}  // namespace
