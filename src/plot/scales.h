#pragma once

// The axes of a chart, drawn as layers: the time axis at the bottom, the value axis of the
// primary series on the left, the value axis of the secondary series on the right.

#include "plot/layers.h"

class mpScaleX : public mpLayer {
public:
    mpScaleX(const wxString& name, int align, bool ticks, bool shortenRight);

    bool HasBounds() const override { return false; }
    void Draw(wxDC& dc, mpWindow& window) override;

    void SetTicks(bool on) { ticks = on; }
    bool GetTicks() const { return ticks; }
    // Keep 50 pixels free at the right for the secondary axis.
    void SetShortenRight(bool on) { shortenRight = on; }
    bool GetShortenRight() const { return shortenRight; }
    void SetAlign(int a) { align = a; }
    int GetAlign() const { return align; }

private:
    int align;
    bool ticks;
    bool shortenRight;
};

class mpScaleY : public mpLayer {
public:
    mpScaleY(const wxString& name, int align, bool ticks, bool shortenRight);

    bool HasBounds() const override { return false; }
    void Draw(wxDC& dc, mpWindow& window) override;

    void SetTicks(bool on) { ticks = on; }
    bool GetTicks() const { return ticks; }
    void SetShortenRight(bool on) { shortenRight = on; }
    bool GetShortenRight() const { return shortenRight; }
    void SetAlign(int a) { align = a; }
    int GetAlign() const { return align; }
    // Captions right of the legend samples of rows 2 (caption) and 1 (caption2).
    void SetCaption(const wxString& text) { caption = text; }
    const wxString& GetCaption() const { return caption; }
    void SetCaption2(const wxString& text) { caption2 = text; }
    const wxString& GetCaption2() const { return caption2; }

private:
    int align;
    bool ticks;
    bool shortenRight;
    wxString caption;
    wxString caption2;
};

class mpScaleYVext : public mpLayer {
public:
    mpScaleYVext(const wxString& name, int align, bool ticks);

    bool HasBounds() const override { return false; }
    void Draw(wxDC& dc, mpWindow& window) override;

    void SetTicks(bool on) { ticks = on; }
    bool GetTicks() const { return ticks; }
    void SetAlign(int a) { align = a; }
    int GetAlign() const { return align; }

private:
    int align;
    bool ticks;
};
