#include "ui/main/Fonts.h"

#include "ui/framework/Dpi.h"
#include "ui/framework/DpiScaling.h"

#include <utility>

UniqueFont titleFont;
UniqueFont boldFont;
UniqueFont normalFont;
UniqueFont confirmFont;
UniqueFont smallFont;

namespace
{

struct FontSpec
{
    UniqueFont* font;
    const char* face;
    int height; // at 96 DPI
    int weight;
    bool italic;
};

const FontSpec Specs[] = {
    {&titleFont, "Arial", 20, FW_BOLD, true},      {&boldFont, "Tahoma", 16, FW_BOLD, false},
    {&normalFont, "Tahoma", 16, FW_NORMAL, false}, {&confirmFont, "Tahoma", 13, FW_BOLD, false},
    {&smallFont, "Tahoma", 12, FW_NORMAL, false},
};

unsigned madeForDpi = DefaultDpi;

HFONT MakeFont(const FontSpec& spec, unsigned dpi)
{
    return CreateFontA(ScaleForDpi(spec.height, dpi), 0, 0, 0, spec.weight, spec.italic ? TRUE : FALSE, FALSE,
                       FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FF_SWISS | DEFAULT_PITCH, spec.face);
}

} // namespace

void CreateFonts()
{
    madeForDpi = SystemDpi();
    for (const FontSpec& spec : Specs)
        spec.font->Reset(MakeFont(spec, madeForDpi));
}

void DeleteFonts()
{
    for (const FontSpec& spec : Specs)
        spec.font->Reset();
}

RetiredFonts MakeFontsForDpi(unsigned dpi)
{
    RetiredFonts retired;
    if (dpi == madeForDpi)
        return retired;
    madeForDpi = dpi;
    for (std::size_t i = 0; i < retired.size(); ++i)
    {
        retired[i] = std::move(*Specs[i].font);
        Specs[i].font->Reset(MakeFont(Specs[i], dpi));
    }
    return retired;
}

unsigned FontsDpi()
{
    return madeForDpi;
}
