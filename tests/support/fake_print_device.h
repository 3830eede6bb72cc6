// A printer with fixed metrics that records what is drawn, a progress dialog
// that records its calls, and fixed date and time texts.
#pragma once

#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/print/printdevice.h"

namespace tallix::print::testing {

// Letter paper at 300 dpi with quarter-inch strips, every character 25
// pixels wide and 41 high, unless a test says otherwise.
class FakePrintDevice : public TPrintDevice {
public:
    // ---- Configuration ----
    int dpiX = 300, dpiY = 300;
    int physicalWidth = 2550, physicalHeight = 3300;
    int offsetX = 75, offsetY = 75;
    int pageWidth = 2400, pageHeight = 3150;
    int charWidth = 25;
    std::map<char, int> charWidths; // overrides charWidth per character
    int textHeight = 41;
    std::map<int, int> textHeightBySize; // overrides textHeight per point size
    TTextMetrics metrics{41, 0};
    // Every call fails, as without any printer installed.
    bool noPrinter = false;
    // Calls by name ("BeginDoc", "TextOut", ...) that fail.
    std::set<std::string> failing;
    // Texts whose drawing fails.
    std::set<std::string> failingTexts;

    // ---- State ----
    std::string title = "job";
    TPrinterOrientation orientation = TPrinterOrientation::poLandscape;
    bool printing = false;
    int page = 0;
    TPrintFont font;
    int pen = 1;

    // ---- Records ----
    struct Text {
        int x, y;
        std::string text;
        int page;
        int fontSize;
    };
    struct Line {
        int x0, y0, x1, y1;
        int pen;
        int page;
        bool operator==(const Line&) const = default;
        friend std::ostream& operator<<(std::ostream& os, const Line& l) {
            return os << "(" << l.x0 << "," << l.y0 << ")-(" << l.x1 << "," << l.y1 << ") pen "
                      << l.pen << " page " << l.page;
        }
    };
    std::vector<Text> texts;
    std::vector<Line> lines;
    std::vector<std::string> calls; // BeginDoc, NewPage, EndDoc, Abort

    std::vector<std::string> TextsOnPage(int p) const {
        std::vector<std::string> out;
        for (const Text& t : texts)
            if (t.page == p) out.push_back(t.text);
        return out;
    }

    // ---- TPrintDevice ----
    std::string Title() const override { return Check("Title"), title; }
    void SetTitle(const std::string& t) override { Check("SetTitle"), title = t; }
    TPrinterOrientation Orientation() const override { return Check("Orientation"), orientation; }
    void SetOrientation(TPrinterOrientation o) override {
        Check("SetOrientation"), orientation = o;
    }
    bool Printing() const override { return Check("Printing"), printing; }
    int PageNumber() const override { return Check("PageNumber"), page; }
    void BeginDoc() override {
        Check("BeginDoc");
        if (printing) throw EPrinter("Printing in progress");
        printing = true;
        page = 1;
        calls.push_back("BeginDoc");
    }
    void NewPage() override {
        Check("NewPage");
        NeedDocument();
        ++page;
        calls.push_back("NewPage");
    }
    void EndDoc() override {
        Check("EndDoc");
        NeedDocument();
        printing = false;
        calls.push_back("EndDoc");
    }
    void Abort() override {
        Check("Abort");
        NeedDocument();
        printing = false;
        calls.push_back("Abort");
    }
    int PageWidth() const override { return Check("PageWidth"), pageWidth; }
    int PageHeight() const override { return Check("PageHeight"), pageHeight; }
    int DeviceCaps(TDeviceCap cap) const override {
        Check("DeviceCaps");
        switch (cap) {
        case TDeviceCap::LogPixelsX: return dpiX;
        case TDeviceCap::LogPixelsY: return dpiY;
        case TDeviceCap::PhysicalWidth: return physicalWidth;
        case TDeviceCap::PhysicalHeight: return physicalHeight;
        case TDeviceCap::PhysicalOffsetX: return offsetX;
        case TDeviceCap::PhysicalOffsetY: return offsetY;
        }
        return 0;
    }
    TPrintFont Font() const override { return Check("Font"), font; }
    void SetFont(const TPrintFont& f) override { Check("SetFont"), font = f; }
    void SetPenWidth(int width) override {
        Check("SetPenWidth");
        NeedDocument();
        pen = width;
    }
    void TextOut(int x, int y, std::string_view text) override {
        Check("TextOut");
        NeedDocument();
        if (failingTexts.count(std::string(text))) throw EPrinter("cannot draw");
        texts.push_back({x, y, std::string(text), page, font.Size});
    }
    int TextWidth(std::string_view text) const override {
        Check("TextWidth");
        int w = 0;
        for (char c : text) {
            const auto it = charWidths.find(c);
            w += it != charWidths.end() ? it->second : charWidth;
        }
        return w;
    }
    int TextHeight(std::string_view) const override {
        Check("TextHeight");
        const auto it = textHeightBySize.find(font.Size);
        return it != textHeightBySize.end() ? it->second : textHeight;
    }
    void DrawLine(int x0, int y0, int x1, int y1) override {
        Check("DrawLine");
        NeedDocument();
        lines.push_back({x0, y0, x1, y1, pen, page});
    }
    TTextMetrics GetTextMetrics() const override { return Check("GetTextMetrics"), metrics; }

private:
    void Check(const char* call) const {
        if (noPrinter) throw EPrinter("There is no default printer currently selected");
        if (failing.count(call)) throw EPrinter(std::string(call) + " failed");
    }
    void NeedDocument() const {
        if (!printing) throw EPrinter("Printer is not currently printing");
    }
};

// Records every call of every dialog it makes, in one log.
class FakeProgressFactory : public TProgressDialogFactory {
public:
    std::vector<std::string> log;
    int alive = 0;

    std::unique_ptr<TPrntProgDlg> CreateProgressDialog() override {
        log.push_back("create");
        return std::make_unique<Dialog>(*this);
    }

private:
    class Dialog : public TPrntProgDlg {
    public:
        explicit Dialog(FakeProgressFactory& f) : f_(f) { ++f_.alive; }
        ~Dialog() override {
            --f_.alive;
            f_.log.push_back("destroy");
        }
        bool Visible() const override { return visible_; }
        void Show() override { visible_ = true, f_.log.push_back("show"); }
        void Close() override { visible_ = false, f_.log.push_back("close"); }
        void SetStatus(const std::string& s) override { f_.log.push_back("status " + s); }
        void SetTitle(const std::string& s) override { f_.log.push_back("title " + s); }
        void SetPageNumber(const std::string& s) override { f_.log.push_back("page " + s); }
        void Repaint() override { f_.log.push_back("repaint"); }

    private:
        FakeProgressFactory& f_;
        bool visible_ = false;
    };
};

class FixedDateTime : public TDateTimeTexts {
public:
    std::string ShortDate() const override { return "06/05/2024"; }
    std::string LongTime() const override { return "1:02:03 PM"; }
};

} // namespace tallix::print::testing
