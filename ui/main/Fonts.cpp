#include "ui/main/Fonts.h"

HFONT titleFont = nullptr;
HFONT boldFont = nullptr;
HFONT normalFont = nullptr;
HFONT confirmFont = nullptr;
HFONT smallFont = nullptr;

namespace
{

HFONT MakeFont(const char* face, int height, int weight, bool italic)
{
    return CreateFontA(height, 0, 0, 0, weight, italic ? TRUE : FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH,
                       face);
}

void Delete(HFONT& font)
{
    if (font)
        DeleteObject(font);
    font = nullptr;
}

} // namespace

void CreateFonts()
{
    titleFont = MakeFont("Arial", 20, FW_BOLD, true);
    boldFont = MakeFont("Tahoma", 16, FW_BOLD, false);
    normalFont = MakeFont("Tahoma", 16, FW_NORMAL, false);
    confirmFont = MakeFont("Tahoma", 13, FW_BOLD, false);
    smallFont = MakeFont("Tahoma", 12, FW_NORMAL, false);
}

void DeleteFonts()
{
    Delete(titleFont);
    Delete(boldFont);
    Delete(normalFont);
    Delete(confirmFont);
    Delete(smallFont);
}
