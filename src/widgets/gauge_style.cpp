#include "widgets/gauge_style.h"

#include <wx/gauge.h>

#include <gtk/gtk.h>

namespace {

wxString Css(const wxColour& c) {
    return wxString::Format(wxString::FromAscii("rgb(%d,%d,%d)"), c.Red(), c.Green(), c.Blue());
}

// One provider per gauge, replaced on every restyle.
const char* const ProviderKey = "zpm-gauge-style";

}  // namespace

void ApplyGaugeStyle(wxGauge* gauge, bool themeColours) {
    GtkWidget* widget = static_cast<GtkWidget*>(gauge->GetHandle());
    if (!widget)
        return;
    wxString css = wxString::FromAscii(
        "progressbar trough, progressbar progress { min-height: 12px; border-radius: 2px; }\n");
    if (!themeColours) {
        css += wxString::FromAscii("progressbar trough { background-image: none; background-color: ") +
               Css(gauge->GetBackgroundColour()) + wxString::FromAscii("; }\n") +
               wxString::FromAscii("progressbar progress { background-image: none; border-color: ") +
               Css(gauge->GetForegroundColour()) + wxString::FromAscii("; background-color: ") +
               Css(gauge->GetForegroundColour()) + wxString::FromAscii("; }\n");
    }
    GtkStyleContext* context = gtk_widget_get_style_context(widget);
    if (auto* old = static_cast<GtkCssProvider*>(g_object_get_data(G_OBJECT(widget), ProviderKey)))
        gtk_style_context_remove_provider(context, GTK_STYLE_PROVIDER(old));
    GtkCssProvider* provider = gtk_css_provider_new();
    const wxScopedCharBuffer utf8 = css.utf8_str();
    gtk_css_provider_load_from_data(provider, utf8.data(), -1, nullptr);
    gtk_style_context_add_provider(context, GTK_STYLE_PROVIDER(provider), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    // The widget keeps the provider alive; it is released with the widget.
    g_object_set_data_full(G_OBJECT(widget), ProviderKey, provider, g_object_unref);
    gtk_widget_queue_draw(widget);
}
