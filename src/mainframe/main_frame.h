#pragma once

#include "data/storage.h"

#include <wx/frame.h>
#include <wx/timer.h>

#include <memory>
#include <vector>

class VextUSB;

// The program's one main window. It owns the record set, the timers and the USB link, and
// routes every command of its static event table to the handler that owns it.
class MainFrame : public wxFrame {
public:
    MainFrame(const wxString& title, const wxPoint& pos, const wxSize& size);
    ~MainFrame() override;

    // Tests switch the 2-second splash off; the program always shows it.
    static bool splashEnabled;

    // The record set; row i of the record list is record i.
    std::vector<Storage>& Records() { return records; }
    const std::vector<Storage>& Records() const { return records; }
    void AppendRecord(const Storage& record);
    void InsertRecordAtFront(const Storage& record);
    void EraseRecord(int index);
    void ClearRecords();

    bool IsSaved() const { return savedFlag; }
    void SetSaved(bool saved) { savedFlag = saved; }

    wxTimer& StatusTimer() { return statusTimer; }
    wxTimer& LiveTimer() { return liveTimer; }

private:
    void OnClose(wxCloseEvent& event);
    void OnQuit(wxCommandEvent& event);

    std::vector<Storage> records;
    bool savedFlag = false;
    wxTimer statusTimer;
    wxTimer liveTimer;

    wxDECLARE_EVENT_TABLE();
};
