// The menu bar, the flow-unit check marks and the flow-unit commands.
#include "app/app_settings.h"
#include "app/command_ids.h"
#include "mainframe/main_frame.h"
#include "resources/pictures.h"

#include <wx/menu.h>
#include <wx/msgdlg.h>

namespace {

wxString U(const char* text) {
    return wxString::FromUTF8(text);
}

// label: the item's text, then a tab and its shortcut where it has one.
wxMenuItem* ItemWithPicture(wxMenu* menu, int id, const char* label, const char* help,
                            pictures::Motif motif) {
    auto* item = new wxMenuItem(menu, id, U(label), U(help), wxITEM_NORMAL);
    item->SetBitmap(pictures::Bundle(motif));
    return menu->Append(item);
}

}  // namespace

void MainFrame::BuildMenuBar() {
    using pictures::Motif;
    // "Datei", with the shortcuts every desktop program has. The service dialog and the database
    // import have no item and no key.
    auto* fileMenu = new wxMenu;
    ItemWithPicture(fileMenu, ID_OPEN_JOB, "Vorgang Öffnen\tCtrl+O", "Einen gespeicherten Vorgang öffnen",
                    Motif::MenuOpen);
    ItemWithPicture(fileMenu, ID_SAVE_JOB, "Vorgang Speichern\tCtrl+S", "Den aktuellen Vorgang abspeichern",
                    Motif::MenuSave);
    ItemWithPicture(fileMenu, ID_SAVE_JOB_AS, "Vorgang Speichern als\tCtrl+Shift+S",
                    "Den aktuellen Vorgang abspeichern", Motif::MenuSave);
    fileMenu->AppendSeparator();
    ItemWithPicture(fileMenu, ID_PRINT, "Diagramm Drucken\tCtrl+P", "Aktuelles Diagramm drucken",
                    Motif::MenuPrint);
    ItemWithPicture(fileMenu, ID_PRINT_PREVIEW, "Drucken mit Vorschau", "Diagramm Vorschau und Druck",
                    Motif::MenuPrint);
    fileMenu->Append(ID_QUIT, U("Verlassen\tCtrl+Q"), U("Beendet die Anwendung"));

    // Menu titles with distinct mnemonics: Alt+D, Alt+G, Alt+T, Alt+H.
    auto* menuBar = new wxMenuBar;
    menuBar->Append(fileMenu, U("&Datei"));

    // "Diagramm" with its two submenus.
    auto* colourMenu = new wxMenu;
    colourMenu->Append(ID_COLOUR_FLOW, U("Durchfluss"), U("Durchflussanzeigefarbe ändern"));
    colourMenu->Append(ID_COLOUR_VOLUME, U("Volumen"), U("Volumenanzeigefarbe ändern"));
    colourMenu->Append(ID_COLOUR_PRESSURE, U("Druck"), U("Druckanzeigefarbe ändern"));
    auto* widthMenu = new wxMenu;
    widthMenu->Append(ID_WIDTH_FLOW, U("Durchfluss"), U("Durchflusslinienstärke ändern"));
    widthMenu->Append(ID_WIDTH_VOLUME, U("Volumen"), U("Volumenlinienstärke ändern"));
    widthMenu->Append(ID_WIDTH_PRESSURE, U("Druck"), U("Drucklinienstärke ändern"));
    auto* chartMenu = new wxMenu;
    chartMenu->AppendSubMenu(colourMenu, U("Linienfarbe"), U("Linienfarben ändern"));
    chartMenu->AppendSubMenu(widthMenu, U("Linienstärke"), U("Linienart ändern"));
    chartMenu->AppendSeparator();
    spanModeItem = chartMenu->AppendCheckItem(ID_SPAN_MODE, U("Bereich auswerten"),
                                              U("Einen Zeitbereich im Diagramm aufziehen und auswerten"));
    chartMenu->Append(ID_SPAN_EXPORT, U("Bereich exportieren …"),
                      U("Die Messwerte des Bereichs nach MS Excel exportieren"));
    chartMenu->Append(ID_SPAN_TO_TEXT_BOX, U("In Textfeld übernehmen"),
                      U("Die Werte des Bereichs in das Textfeld der Messung übernehmen"));
    menuBar->Append(chartMenu, U("Dia&gramm"));

    // "Daten": four independent check items for the flow unit (ids not in label order).
    dataMenu = new wxMenu;
    const struct {
        int id;
        const char* label;
    } flowItems[] = {
        {ID_FLOW_UNIT_LMIN, "Durchflusseinheiten L/M"},
        {ID_FLOW_UNIT_LS, "Durchflusseinheiten L/S"},
        {ID_FLOW_UNIT_M3H, "Durchflusseinheiten M³/h"},
        {ID_FLOW_UNIT_GPM, "Durchflusseinheiten GPM"},
    };
    for (std::size_t i = 0; i < std::size(flowItems); ++i)
        flowUnitItems[i] =
            dataMenu->AppendCheckItem(flowItems[i].id, U(flowItems[i].label), U(flowItems[i].label));
    absoluteTimeItem = dataMenu->AppendCheckItem(ID_ABSOLUTE_TIME, U("Absolute Zeit"), U("Absolute Zeit"));
    absoluteTimeItem->Check(AppSettings.absoluteTime);
    SyncFlowUnitItems();
    dataMenu->Append(ID_EXPORT_CSV, U("Exportieren nach Excel"),
                     U("Ausgewählte Daten nach MS Excel exportieren"));
    dataMenu->Enable(ID_EXPORT_CSV, false);
    dataMenu->Append(ID_FILTER_SETTINGS, U("Filtereinstellungen"), U("Datenfiltereinstellung ändern"));
    dataMenu->AppendSeparator();
    dataMenu->Append(ID_HYDRANT_TEST, U("Hydrantenprüfung auswerten"),
                     U("Ruhedruck, Fließdruck und verfügbaren Durchfluss der ausgewählten Messung bestimmen"));
    dataMenu->Append(ID_HYDRANT_REPORT, U("Prüfbericht …"),
                     U("Prüfbericht der Hydrantenprüfung als PDF speichern oder drucken"));
    menuBar->Append(dataMenu, U("Da&ten"));

    auto* helpMenu = new wxMenu;
    helpMenu->Append(ID_SHOW_TIPS, U("Show Startup Tips"), U("Display startup help tips"));
    menuBar->Append(helpMenu, U("&Help"));
    SetMenuBar(menuBar);
}

void MainFrame::SyncFlowUnitItems() {
    // flowUnitItems are in menu order: l/min (code 0), l/s (1), m³/h (2), GPM (3).
    const int code = AppSettings.flowUnit;
    if (code > 3)
        return;  // an unknown code leaves the marks as they are
    for (int i = 0; i < 4; ++i)
        flowUnitItems[i]->Check(i == code);
}

void MainFrame::OnFlowUnit(wxCommandEvent& event) {
    switch (event.GetId()) {
        case ID_FLOW_UNIT_LMIN:
            AppSettings.flowUnit = 0;
            break;
        case ID_FLOW_UNIT_LS:
            AppSettings.flowUnit = 1;
            break;
        case ID_FLOW_UNIT_M3H:
            AppSettings.flowUnit = 2;
            break;
        case ID_FLOW_UNIT_GPM:
            AppSettings.flowUnit = 3;
            break;
        default:
            return;
    }
    SyncFlowUnitItems();
    wxMessageBox(U("Starten Sie Application neu, um die Änderung der Flow-Einheiten zu bewirken"),
                 U("Message"), wxOK | wxCENTRE);
}
