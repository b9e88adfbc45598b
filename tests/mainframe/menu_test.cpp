#include "support/gui_testing.h"

#include "app/app_settings.h"
#include "app/command_ids.h"
#include "mainframe/main_frame.h"

#include <wx/accel.h>
#include <wx/menu.h>

#include <memory>

namespace {

class MenuTest : public MainFrameTest {
protected:
    std::vector<bool> FlowMarks() {
        wxMenuBar* bar = frame->GetMenuBar();
        return {bar->IsChecked(ID_FLOW_UNIT_LMIN), bar->IsChecked(ID_FLOW_UNIT_LS),
                bar->IsChecked(ID_FLOW_UNIT_M3H), bar->IsChecked(ID_FLOW_UNIT_GPM)};
    }
};

const char* RestartText = "Starten Sie Application neu, um die Änderung der Flow-Einheiten zu bewirken";

}  // namespace

TEST_F(MenuTest, MenusItemsAndHelpTexts) {
    wxMenuBar* bar = frame->GetMenuBar();
    ASSERT_EQ(bar->GetMenuCount(), 4u);
    EXPECT_EQ(bar->GetMenuLabelText(0), U8("Datei"));
    EXPECT_EQ(bar->GetMenuLabelText(1), U8("Diagramm"));
    EXPECT_EQ(bar->GetMenuLabelText(2), U8("Daten"));
    EXPECT_EQ(bar->GetMenuLabelText(3), U8("Help"));
    // Alt+D, Alt+G, Alt+T, Alt+H open the menus: one letter each.
    EXPECT_EQ(bar->GetMenuLabel(0), U8("&Datei"));
    EXPECT_EQ(bar->GetMenuLabel(1), U8("Dia&gramm"));
    EXPECT_EQ(bar->GetMenuLabel(2), U8("Da&ten"));
    EXPECT_EQ(bar->GetMenuLabel(3), U8("&Help"));

    struct Item {
        int id;
        const char* label;
        const char* help;
        const char* key = nullptr;
    };
    const Item items[] = {
        {ID_OPEN_JOB, "Vorgang Öffnen", "Einen gespeicherten Vorgang öffnen", "Ctrl+O"},
        {ID_SAVE_JOB, "Vorgang Speichern", "Den aktuellen Vorgang abspeichern", "Ctrl+S"},
        {ID_SAVE_JOB_AS, "Vorgang Speichern als", "Den aktuellen Vorgang abspeichern", "Ctrl+Shift+S"},
        {ID_PRINT, "Diagramm Drucken", "Aktuelles Diagramm drucken", "Ctrl+P"},
        {ID_PRINT_PREVIEW, "Drucken mit Vorschau", "Diagramm Vorschau und Druck"},
        {ID_QUIT, "Verlassen", "Beendet die Anwendung", "Ctrl+Q"},
        {ID_COLOUR_FLOW, "Durchfluss", "Durchflussanzeigefarbe ändern"},
        {ID_COLOUR_VOLUME, "Volumen", "Volumenanzeigefarbe ändern"},
        {ID_COLOUR_PRESSURE, "Druck", "Druckanzeigefarbe ändern"},
        {ID_WIDTH_FLOW, "Durchfluss", "Durchflusslinienstärke ändern"},
        {ID_WIDTH_VOLUME, "Volumen", "Volumenlinienstärke ändern"},
        {ID_WIDTH_PRESSURE, "Druck", "Drucklinienstärke ändern"},
        {ID_FLOW_UNIT_LMIN, "Durchflusseinheiten L/M", "Durchflusseinheiten L/M"},
        {ID_FLOW_UNIT_LS, "Durchflusseinheiten L/S", "Durchflusseinheiten L/S"},
        {ID_FLOW_UNIT_M3H, "Durchflusseinheiten M³/h", "Durchflusseinheiten M³/h"},
        {ID_FLOW_UNIT_GPM, "Durchflusseinheiten GPM", "Durchflusseinheiten GPM"},
        {ID_ABSOLUTE_TIME, "Absolute Zeit", "Absolute Zeit"},
        {ID_EXPORT_CSV, "Exportieren nach Excel", "Ausgewählte Daten nach MS Excel exportieren"},
        {ID_FILTER_SETTINGS, "Filtereinstellungen", "Datenfiltereinstellung ändern"},
        {ID_SHOW_TIPS, "Show Startup Tips", "Display startup help tips"},
    };
    for (const auto& i : items) {
        wxMenuItem* item = bar->FindItem(i.id);
        ASSERT_NE(item, nullptr) << i.id;
        EXPECT_EQ(item->GetItemLabelText().utf8_string(), i.label);
        EXPECT_EQ(item->GetHelp().utf8_string(), i.help);
        std::unique_ptr<wxAcceleratorEntry> key(item->GetAccel());
        EXPECT_EQ(key ? key->ToRawString().utf8_string() : std::string("none"), i.key ? i.key : "none")
            << i.label;
    }
    // No other key anywhere: the service dialog (55) and the database import (46) have none.
    EXPECT_FALSE(frame->GetAcceleratorTable()->IsOk());
    // Items in menu order: the flow units are not in id order.
    wxMenu* data = bar->GetMenu(2);
    std::vector<int> ids;
    for (wxMenuItem* item : data->GetMenuItems())
        ids.push_back(item->GetId());
    EXPECT_EQ(ids, (std::vector<int>{61, 63, 62, 64, 67, 35, 39, wxID_SEPARATOR, 68, 72}));
    EXPECT_TRUE(bar->FindItem(ID_FLOW_UNIT_M3H)->IsCheckable());
    EXPECT_TRUE(bar->FindItem(ID_OPEN_JOB)->GetBitmap().IsOk());
    EXPECT_EQ(bar->FindItem(ID_OPEN_JOB)->GetBitmap().GetSize(), wxSize(16, 15));
    EXPECT_FALSE(bar->FindItem(ID_QUIT)->GetBitmap().IsOk());
    // Commands 46 and 55 exist in the table but no menu item carries them.
    EXPECT_EQ(bar->FindItem(ID_IMPORT_DATABASE), nullptr);
    EXPECT_EQ(bar->FindItem(ID_SERVICE_DIALOG), nullptr);
    EXPECT_FALSE(bar->IsEnabled(ID_EXPORT_CSV));
    EXPECT_TRUE(bar->IsEnabled(ID_FILTER_SETTINGS));
}

TEST_F(MenuTest, FlowUnitMarksFollowTheSetting) {
    EXPECT_EQ(FlowMarks(), (std::vector<bool>{true, false, false, false}));
    EXPECT_FALSE(frame->GetMenuBar()->IsChecked(ID_ABSOLUTE_TIME));
    TearDown();

    settingsContent = "1\n98\n0\n0\n2\n0\n1\n";
    SetUp();
    EXPECT_EQ(FlowMarks(), (std::vector<bool>{false, false, true, false}));  // third item: id 62
    EXPECT_TRUE(frame->GetMenuBar()->IsChecked(ID_ABSOLUTE_TIME));
    TearDown();

    settingsContent = "1\n98\n0\n0\n7\n0\n0\n";
    SetUp();
    EXPECT_EQ(FlowMarks(), (std::vector<bool>{false, false, false, false}));
}

TEST_F(MenuTest, FlowUnitCommandTicksOnlyItsItemAndAsksForARestartEveryTime) {
    for (int round = 0; round < 2; ++round) {
        wxTEST_DIALOG(Command(ID_FLOW_UNIT_M3H), ExpectMessage(wxID_OK, U8(RestartText), U8("Message")));
        EXPECT_EQ(AppSettings.flowUnit, 2);
        EXPECT_EQ(FlowMarks(), (std::vector<bool>{false, false, true, false}));
    }
    wxTEST_DIALOG(Command(ID_FLOW_UNIT_LS), ExpectMessage(wxID_OK, U8(RestartText), U8("Message")));
    EXPECT_EQ(AppSettings.flowUnit, 1);
    EXPECT_EQ(FlowMarks(), (std::vector<bool>{false, true, false, false}));
    wxTEST_DIALOG(Command(ID_FLOW_UNIT_GPM), ExpectMessage(wxID_OK, U8(RestartText), U8("Message")));
    EXPECT_EQ(AppSettings.flowUnit, 3);
    EXPECT_EQ(FlowMarks(), (std::vector<bool>{false, false, false, true}));
}
