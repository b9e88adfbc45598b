#include "acquisition/progress.h"
#include "data/translate.h"

#include <wx/progdlg.h>

namespace {

class ProgressDialogIndicator : public ProgressIndicator {
public:
    ProgressDialogIndicator()
        : dialog(Tr("Laden"), Tr("Daten werden vom ZPM-Speicher gelesen, einen Moment bitte…"), 100, nullptr,
                 wxPD_APP_MODAL | wxPD_AUTO_HIDE) {
        dialog.Pulse();
    }
    void Pulse() override { dialog.Pulse(); }

private:
    wxProgressDialog dialog;
};

}  // namespace

std::function<std::unique_ptr<ProgressIndicator>()> DefaultProgressFactory() {
    return [] { return std::make_unique<ProgressDialogIndicator>(); };
}
