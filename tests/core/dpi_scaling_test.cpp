#include "ui/framework/DialogTemplate.h"
#include "ui/framework/DpiScaling.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

static bool operator==(const PixelRect& a, const PixelRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static std::ostream& operator<<(std::ostream& out, const PixelRect& r)
{
    return out << '(' << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ')';
}

namespace
{

// A dialog template built field by field, little-endian, independently of the reader.
class TemplateBytes
{
public:
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
    TemplateBytes& Align4()
    {
        while (bytes.size() % 4 != 0)
            bytes.push_back(0xEE);
        return *this;
    }
    // One control: help id, extended style, style, place, id, then class, caption and creation data.
    TemplateBytes& Control(unsigned long id, int x, int y, int cx, int cy)
    {
        return Align4().U32(0).U32(0).U32(0x50000000).U16(x).U16(y).U16(cx).U16(cy).U32(id);
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

} // namespace

// Lengths given for 96 DPI, rounded as Windows' MulDiv rounds them: the five fonts' heights at the usual
// scalings, the template font's 8 points, and the halves, signs and overflow of the rounding itself.
TEST(DpiScaling, LengthsScaleAsWindowsRoundsThem)
{
    const struct
    {
        int height;
        unsigned dpi;
        int expected;
    } heights[] = {
        {20, 96, 20},  {16, 96, 16},  {13, 96, 13},  {12, 96, 12},  {20, 120, 25}, {16, 120, 20},
        {13, 120, 16}, {12, 120, 15}, {20, 144, 30}, {16, 144, 24}, {13, 144, 20}, {12, 144, 18},
        {20, 192, 40}, {16, 192, 32}, {13, 192, 26}, {12, 192, 24}, {47, 144, 71}, {13, 168, 23},
    };
    for (const auto& h : heights)
        EXPECT_EQ(ScaleForDpi(h.height, h.dpi), h.expected) << h.height << " at " << h.dpi;

    const struct
    {
        unsigned dpi;
        int expected;
    } eightPoints[] = {{96, -11}, {120, -13}, {144, -16}, {192, -21}};
    for (const auto& p : eightPoints)
        EXPECT_EQ(PointsToFontHeight(8, p.dpi), p.expected) << p.dpi;

    const struct
    {
        int value, numerator, denominator, expected;
    } rounding[] = {
        {3, 1, 2, 2},
        {-3, 1, 2, -2},
        {3, -1, 2, -2},
        {-3, -1, 2, 2},
        {3, 1, -2, -2},
        {5, 1, 4, 1},
        {7, 1, 4, 2},
        {-7, 1, 4, -2},
        {1, 1, 0, -1},
        {2147483647, 2, 1, -1},
        {2147483647, 2, 2, 2147483647},
    };
    for (const auto& r : rounding)
        EXPECT_EQ(MulDivRound(r.value, r.numerator, r.denominator), r.expected)
            << r.value << " * " << r.numerator << " / " << r.denominator;
}

// Base units from the letters' width and the cell height, and a control placed with position and size each
// rounded on its own (a right edge converted as such would land elsewhere).
TEST(DpiScaling, DialogUnitsBecomePixelsAsTheDialogManagerPlacesControls)
{
    EXPECT_EQ(BaseUnitsOf(330, 13).x, 6);
    EXPECT_EQ(BaseUnitsOf(330, 13).y, 13);
    EXPECT_EQ(BaseUnitsOf(475, 19).x, 9);
    EXPECT_EQ(BaseUnitsOf(337, 16).x, 6); // 12.96 letters' pairs: 12, then rounded half up
    EXPECT_EQ(BaseUnitsOf(338, 16).x, 7);

    const struct
    {
        int x, y, cx, cy;
        DialogBaseUnits units;
        PixelRect expected;
    } rects[] = {
        {7, 6, 47, 292, {6, 13}, {11, 10, 82, 485}},          {0, 0, 489, 304, {6, 13}, {0, 0, 734, 494}},
        {0, 0, 489, 304, {9, 19}, {0, 0, 1100, 722}},         {1, 1, 1, 1, {6, 13}, {2, 2, 4, 4}},
        {416, 284, 60, 14, {12, 25}, {1248, 888, 1428, 932}},
    };
    for (const auto& r : rects)
        EXPECT_EQ(DialogUnitsToPixels(r.x, r.y, r.cx, r.cy, r.units), r.expected)
            << r.x << ", " << r.y << ", " << r.cx << ", " << r.cy;

    // The 96-DPI layout at another DPI: each edge scaled, so that two neighbours 1 pixel apart stay apart.
    const PixelRect left = {11, 10, 82, 485}, right = {83, 10, 90, 20};
    EXPECT_EQ(ScaleRectForDpi(left, 120), (PixelRect{14, 13, 103, 606}));
    EXPECT_EQ(ScaleRectForDpi(right, 120), (PixelRect{104, 13, 113, 25}));
    EXPECT_EQ(ScaleRectForDpi(left, 96), left);
}

// The banner keeps its proportions, is exactly itself at 96 DPI and never taller than its strip.
TEST(DpiScaling, PicturesScaleInProportionWithinTheirControl)
{
    const struct
    {
        unsigned dpi;
        int maxHeight;
        PixelSize expected;
    } cases[] = {
        {96, 475, {47, 474}},
        {120, 584, {58, 584}},
        {144, 694, {69, 694}},
        {192, 2000, {94, 948}},
    };
    for (const auto& c : cases)
    {
        const PixelSize size = ScaleImageForDpi({47, 474}, c.dpi, c.maxHeight);
        EXPECT_EQ(size.cx, c.expected.cx) << c.dpi;
        EXPECT_EQ(size.cy, c.expected.cy) << c.dpi;
    }
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
        {"larger, centred off a work area away from 0",
         {10, -100, 1116, 650},
         leftTaskbar,
         {60, 0, 1166, 750}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeepWithin(c.window, c.workArea), c.expected) << c.what;
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
    ASSERT_EQ(layout.controls.size(), 3u);
    const struct
    {
        std::uint32_t id;
        int x, y, cx, cy;
    } expected[] = {{1000, 53, 11, 197, 12}, {1001, 7, 6, 47, 292}, {1005, 154, 61, 100, 88}};
    for (std::size_t i = 0; i < 3; ++i)
    {
        const DialogLayout::Control& c = layout.controls[i];
        EXPECT_EQ(c.id, expected[i].id);
        EXPECT_EQ(c.x, expected[i].x);
        EXPECT_EQ(c.y, expected[i].y);
        EXPECT_EQ(c.cx, expected[i].cx);
        EXPECT_EQ(c.cy, expected[i].cy);
    }
}

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
    ASSERT_EQ(layout.controls.size(), 1u);
    EXPECT_EQ(layout.controls[0].id, 7u);
    EXPECT_EQ(layout.controls[0].cy, 4);

    // The old form (DLGTEMPLATE) starts with its style, not with version 1 and 0xFFFF.
    std::vector<unsigned char> old = full.bytes;
    old[2] = 0;
    EXPECT_FALSE(ReadDialogLayout(old.data(), old.size(), layout));
}
