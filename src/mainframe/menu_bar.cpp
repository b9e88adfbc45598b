// The menu bar, the flow-unit check marks and the flow-unit commands.
#include "app/app_settings.h"
#include "app/command_ids.h"
#include "data/translate.h"
#include "mainframe/main_frame.h"
#include "resources/pictures.h"

#include <wx/menu.h>
#include <wx/msgdlg.h>

namespace {

// label: the item's text, then a tab and its shortcut where it has one.
wxMenuItem* ItemWithPicture(wxMenu* menu, int id, const char* label, const char* help,
                            pictures::Motif motif) {
    auto* item = new wxMenuItem(menu, id, Tr(label), Tr(help), wxITEM_NORMAL);
    item->SetBitmap(pictures::Bundle(motif));
    return menu->Append(item);
}

}  // namespace

void MainFrame::BuildMenuBar() {
    using pictures::Motif;
    // "Datei", with the shortcuts every desktop program has. The service dialog and the database
    // import have no item and no key.
    auto* fileMenu = new wxMenu;
    ItemWithPicture(fileMenu, ID_OPEN_JOB, wxTRANSLATE("Vorgang Öffnen\tCtrl+O"),
                    wxTRANSLATE("Einen gespeicherten Vorgang öffnen"), Motif::MenuOpen);
    ItemWithPicture(fileMenu, ID_SAVE_JOB, wxTRANSLATE("Vorgang Speichern\tCtrl+S"),
                    wxTRANSLATE("Den aktuellen Vorgang abspeichern"), Motif::MenuSave);
    ItemWithPicture(fileMenu, ID_SAVE_JOB_AS, wxTRANSLATE("Vorgang Speichern als\tCtrl+Shift+S"),
                    wxTRANSLATE("Den aktuellen Vorgang abspeichern"), Motif::MenuSave);
    fileMenu->AppendSeparator();
    ItemWithPicture(fileMenu, ID_PRINT, wxTRANSLATE("Diagramm Drucken\tCtrl+P"),
                    wxTRANSLATE("Aktuelles Diagramm drucken"), Motif::MenuPrint);
    ItemWithPicture(fileMenu, ID_PRINT_PREVIEW, wxTRANSLATE("Drucken mit Vorschau"),
                    wxTRANSLATE("Diagramm Vorschau und Druck"), Motif::MenuPrint);
    fileMenu->Append(ID_QUIT, Tr("Verlassen\tCtrl+Q"), Tr("Beendet die Anwendung"));

    // Menu titles with distinct mnemonics: Alt+D, Alt+G, Alt+T, Alt+H.
    auto* menuBar = new wxMenuBar;
    menuBar->Append(fileMenu, Tr("&Datei"));

    // "Diagramm" with its two submenus.
    auto* colourMenu = new wxMenu;
    colourMenu->Append(ID_COLOUR_FLOW, Tr("Durchfluss"), Tr("Durchflussanzeigefarbe ändern"));
    colourMenu->Append(ID_COLOUR_VOLUME, Tr("Volumen"), Tr("Volumenanzeigefarbe ändern"));
    colourMenu->Append(ID_COLOUR_PRESSURE, Tr("Druck"), Tr("Druckanzeigefarbe ändern"));
    auto* widthMenu = new wxMenu;
    widthMenu->Append(ID_WIDTH_FLOW, Tr("Durchfluss"), Tr("Durchflusslinienstärke ändern"));
    widthMenu->Append(ID_WIDTH_VOLUME, Tr("Volumen"), Tr("Volumenlinienstärke ändern"));
    widthMenu->Append(ID_WIDTH_PRESSURE, Tr("Druck"), Tr("Drucklinienstärke ändern"));
    auto* chartMenu = new wxMenu;
    chartMenu->AppendSubMenu(colourMenu, Tr("Linienfarbe"), Tr("Linienfarben ändern"));
    chartMenu->AppendSubMenu(widthMenu, Tr("Linienstärke"), Tr("Linienart ändern"));
    chartMenu->AppendSeparator();
    spanModeItem = chartMenu->AppendCheckItem(ID_SPAN_MODE, Tr("Bereich auswerten"),
                                              Tr("Einen Zeitbereich im Diagramm aufziehen und auswerten"));
    chartMenu->Append(ID_SPAN_EXPORT, Tr("Bereich exportieren …"),
                      Tr("Die Messwerte des Bereichs nach MS Excel exportieren"));
    chartMenu->Append(ID_SPAN_TO_TEXT_BOX, Tr("In Textfeld übernehmen"),
                      Tr("Die Werte des Bereichs in das Textfeld der Messung übernehmen"));
    menuBar->Append(chartMenu, Tr("Dia&gramm"));

    // "Daten": four independent check items for the flow unit (ids not in label order).
    dataMenu = new wxMenu;
    const struct {
        int id;
        const char* label;
    } flowItems[] = {
        {ID_FLOW_UNIT_LMIN, wxTRANSLATE("Durchflusseinheiten L/M")},
        {ID_FLOW_UNIT_LS, wxTRANSLATE("Durchflusseinheiten L/S")},
        {ID_FLOW_UNIT_M3H, wxTRANSLATE("Durchflusseinheiten M³/h")},
        {ID_FLOW_UNIT_GPM, wxTRANSLATE("Durchflusseinheiten GPM")},
    };
    for (std::size_t i = 0; i < std::size(flowItems); ++i)
        flowUnitItems[i] =
            dataMenu->AppendCheckItem(flowItems[i].id, Tr(flowItems[i].label), Tr(flowItems[i].label));
    absoluteTimeItem = dataMenu->AppendCheckItem(ID_ABSOLUTE_TIME, Tr("Absolute Zeit"), Tr("Absolute Zeit"));
    absoluteTimeItem->Check(AppSettings.absoluteTime);
    SyncFlowUnitItems();
    dataMenu->Append(ID_EXPORT_CSV, Tr("Exportieren nach Excel"),
                     Tr("Ausgewählte Daten nach MS Excel exportieren"));
    dataMenu->Enable(ID_EXPORT_CSV, false);
    dataMenu->Append(ID_FILTER_SETTINGS, Tr("Filtereinstellungen"), Tr("Datenfiltereinstellung ändern"));
    dataMenu->AppendSeparator();
    dataMenu->Append(
        ID_HYDRANT_TEST, Tr("Hydrantenprüfung auswerten"),
        Tr("Ruhedruck, Fließdruck und verfügbaren Durchfluss der ausgewählten Messung bestimmen"));
    dataMenu->Append(ID_HYDRANT_REPORT, Tr("Prüfbericht …"),
                     Tr("Prüfbericht der Hydrantenprüfung als PDF speichern oder drucken"));
    menuBar->Append(dataMenu, Tr("Da&ten"));

    auto* helpMenu = new wxMenu;
    helpMenu->Append(ID_SHOW_TIPS, Tr("Show Startup Tips"), Tr("Display startup help tips"));
    menuBar->Append(helpMenu, Tr("&Help"));
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
    wxMessageBox(Tr("Starten Sie Application neu, um die Änderung der Flow-Einheiten zu bewirken"),
                 Tr("Message"), wxOK | wxCENTRE);
}
