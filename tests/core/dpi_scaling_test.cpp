#include "ui/framework/DialogTemplate.h"
#include "ui/framework/DpiScaling.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

// The pixel arithmetic's own rules; the Win32 tests check the rest at each DPI against Windows' own MulDiv
// and dialog manager (the fonts' heights, the banner's size, the layout at 96 DPI).

namespace
{

// Compared and printed as a whole.
std::array<int, 4> Edges(const PixelRect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

// A dialog template built field by field, little-endian, independently of the reader.
struct TemplateBytes
{
    TemplateBytes& U16(unsigned value)
    {
        bytes.push_back(static_cast<unsigned char>(value & 0xFF));
        bytes.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
        return *this;
    }
    TemplateBytes& U32(unsigned long value) { return U16(value & 0xFFFF).U16((value >> 16) & 0xFFFF); }
    TemplateBytes& Text(const std::string& text)
    {
        for (char c : text)
            U16(static_cast<unsigned char>(c));
        return U16(0);
    }
    // One control, after padding to 32 bits: help id, extended style, style, place, id; then class, caption
    // and creation data.
    TemplateBytes& Control(unsigned long id, int x, int y, int cx, int cy)
    {
        while (bytes.size() % 4 != 0)
            bytes.push_back(0xEE);
        return U32(0).U32(0).U32(0x50000000).U16(x).U16(y).U16(cx).U16(cy).U32(id);
    }

    std::vector<unsigned char> bytes;
};

// Version 1, signature 0xFFFF, help id, extended style, `style`, `count` controls, at 0,0, sized 489 x 304,
// no menu, the class by name, a title.
TemplateBytes Header(unsigned long style, unsigned count)
{
    TemplateBytes t;
    t.U16(1).U16(0xFFFF).U32(0).U32(0).U32(style).U16(count).U16(0).U16(0).U16(489).U16(304);
    t.U16(0).Text("MyClass").Text("Titre");
    return t;
}

constexpr unsigned long ChildWithFont =
    0x40000000 | 0x10000000 | 0x40 | 0x08; // WS_CHILD, WS_VISIBLE, DS_SETFONT, DS_FIXEDSYS

// Each control's id and place, in order.
std::vector<std::array<int, 5>> Places(const DialogLayout& layout)
{
    std::vector<std::array<int, 5>> places;
    for (const DialogLayout::Control& c : layout.controls)
        places.push_back({static_cast<int>(c.id), c.x, c.y, c.cx, c.cy});
    return places;
}

} // namespace

// Windows' MulDiv: halves away from zero whatever the signs, 1.25 down, a product wider than 32 bits, and -1
// for a zero denominator or a result out of range.
TEST(DpiScaling, LengthsRoundAsWindowsMulDivRoundsThem)
{
    const struct
    {
        int value, numerator, denominator, expected;
    } cases[] = {{3, 1, 2, 2},   {-3, 1, 2, -2}, {3, 1, -2, -2},         {5, 1, 4, 1},
                 {-7, 1, 4, -2}, {1, 1, 0, -1},  {2147483647, 2, 1, -1}, {2147483647, 2, 2, 2147483647}};
    for (const auto& c : cases)
        EXPECT_EQ(MulDivRound(c.value, c.numerator, c.denominator), c.expected)
            << c.value << " * " << c.numerator << " / " << c.denominator;
}

// Base units from the letters' average width rounded half up (the real font's, and the controls placed with
// them, are checked against the dialog manager at 96 DPI by the Win32 tests); at another DPI each edge of the
// 96-DPI layout scaled, so that neighbours 1 pixel apart stay apart.
TEST(DpiScaling, BaseUnitsRoundHalfUpAndEveryEdgeScalesOnItsOwn)
{
    EXPECT_EQ(BaseUnitsOf(337, 16).x, 6); // 12.96 letters' pairs: 12, then halved
    EXPECT_EQ(BaseUnitsOf(338, 16).x, 7);
    EXPECT_EQ(BaseUnitsOf(338, 16).y, 16);
    EXPECT_EQ(Edges(ScaleRectForDpi({11, 10, 82, 485}, 120)), Edges({14, 13, 103, 606}));
    EXPECT_EQ(Edges(ScaleRectForDpi({83, 10, 90, 20}, 120)), Edges({104, 13, 113, 25}));
}

TEST(DpiScaling, WindowsAreKeptWithinTheWorkArea)
{
    const PixelRect screen = {0, 0, 1024, 768};
    const PixelRect leftTaskbar = {60, 0, 1024, 768};
    const struct
    {
        const char* what;
        PixelRect window, workArea, expected;
    } cases[] = {
        {"inside", {100, 100, 900, 700}, screen, {100, 100, 900, 700}},
        {"over the right and bottom edges", {400, 300, 1200, 900}, screen, {224, 168, 1024, 768}},
        {"over the left and top edges", {-50, -20, 750, 580}, screen, {0, 0, 800, 600}},
        {"under a left taskbar", {20, 10, 820, 610}, leftTaskbar, {60, 10, 860, 610}},
        {"wider and taller than the work area", {-39, -10, 1067, 740}, screen, {0, 0, 1106, 750}},
        {"larger, off a work area away from 0", {10, -100, 1116, 650}, leftTaskbar, {60, 0, 1166, 750}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Edges(KeepWithin(c.window, c.workArea)), Edges(c.expected)) << c.what;
}

// The header's size and font, and each control's id and place, whatever the names, ordinals and creation
// data around them and the padding before each control.
TEST(DialogLayoutReader, ReadsTheSizeTheFontAndEveryControlsPlace)
{
    TemplateBytes t = Header(ChildWithFont, 3);
    t.U16(8).U16(400).U16(0x0100).Text("MS Shell Dlg"); // points, weight, italic and character set, face
    t.Control(1000, 53, 11, 197, 12).Text("Static").Text("IDC_TITLE_TITLE").U16(0);
    t.Control(1001, 7, 6, 47, 292).U16(0xFFFF).U16(0x0082).U16(0xFFFF).U16(133).U16(0);
    t.Control(1005, 154, 61, 100, 88).U16(0xFFFF).U16(0x0083).U16(0).U16(3);
    t.bytes.insert(t.bytes.end(), {1, 2, 3});

    DialogLayout layout;
    ASSERT_TRUE(ReadDialogLayout(t.bytes.data(), t.bytes.size(), layout));
    EXPECT_EQ(layout.cx, 489);
    EXPECT_EQ(layout.cy, 304);
    EXPECT_EQ(layout.pointSize, 8);
    EXPECT_EQ(layout.face, u"MS Shell Dlg");
    EXPECT_EQ(Places(layout), (std::vector<std::array<int, 5>>{
                                  {1000, 53, 11, 197, 12}, {1001, 7, 6, 47, 292}, {1005, 154, 61, 100, 88}}));
}

// `layout` is reused from one read to the next: each starts afresh (the template without a font keeps neither
// the font nor the control of the one before).
TEST(DialogLayoutReader, RefusesTheOldFormAndTruncatedTemplates)
{
    TemplateBytes full = Header(ChildWithFont, 1);
    full.U16(8).U16(400).U16(0).Text("MS Shell Dlg");
    full.Control(1, 416, 284, 60, 14).U16(0xFFFF).U16(0x0080).Text("OK").U16(0);
    DialogLayout layout;
    ASSERT_TRUE(ReadDialogLayout(full.bytes.data(), full.bytes.size(), layout));

    // Cut anywhere, even inside the last control's creation data count.
    for (std::size_t size = 0; size < full.bytes.size(); ++size)
        EXPECT_FALSE(ReadDialogLayout(full.bytes.data(), size, layout)) << size << " bytes";
    EXPECT_FALSE(ReadDialogLayout(nullptr, 100, layout));

    // A template without DS_SETFONT has no font block: the controls follow the title.
    TemplateBytes noFont = Header(0x40000000, 1);
    noFont.Control(7, 1, 2, 3, 4).U16(0xFFFF).U16(0x0080).U16(0).U16(0);
    ASSERT_TRUE(ReadDialogLayout(noFont.bytes.data(), noFont.bytes.size(), layout));
    EXPECT_EQ(layout.pointSize, 0);
    EXPECT_EQ(Places(layout), (std::vector<std::array<int, 5>>{{7, 1, 2, 3, 4}}));

    // The old form (DLGTEMPLATE) starts with its style, not with version 1 and 0xFFFF.
    std::vector<unsigned char> old = full.bytes;
    old[2] = 0;
    EXPECT_FALSE(ReadDialogLayout(old.data(), old.size(), layout));
}
