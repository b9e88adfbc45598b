#pragma once

class wxButton;
class wxDialog;
class wxSizer;

// The row of "OK" and "Schließen" that ends the small chart dialogs: buttons 60 x 30, wider
// where the label needs it ("Schließen" does not fit into 60), added to the dialog's sizer.
// Returns the "OK" button.
wxButton* AddOkCloseRow(wxDialog* dialog, wxSizer* top);
