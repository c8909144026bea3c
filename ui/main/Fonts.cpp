#include "ui/main/Fonts.h"

UniqueFont titleFont;
UniqueFont boldFont;
UniqueFont normalFont;
UniqueFont confirmFont;
UniqueFont smallFont;

namespace
{

HFONT MakeFont(const char* face, int height, int weight, bool italic)
{
    return CreateFontA(height, 0, 0, 0, weight, italic ? TRUE : FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH,
                       face);
}

} // namespace

void CreateFonts()
{
    titleFont.Reset(MakeFont("Arial", 20, FW_BOLD, true));
    boldFont.Reset(MakeFont("Tahoma", 16, FW_BOLD, false));
    normalFont.Reset(MakeFont("Tahoma", 16, FW_NORMAL, false));
    confirmFont.Reset(MakeFont("Tahoma", 13, FW_BOLD, false));
    smallFont.Reset(MakeFont("Tahoma", 12, FW_NORMAL, false));
}

void DeleteFonts()
{
    for (UniqueFont* font : {&titleFont, &boldFont, &normalFont, &confirmFont, &smallFont})
        font->Reset();
}
