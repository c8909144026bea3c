#include "ui/framework/DialogTemplate.h"

namespace
{

constexpr std::uint32_t DsSetFont = 0x40;

// Little-endian fields one after the other, never past the end: a read beyond it clears `ok` and gives 0.
class TemplateReader
{
public:
    TemplateReader(const unsigned char* bytes, std::size_t size) : bytes(bytes), size(bytes ? size : 0) {}

    bool Ok() const { return ok; }

    std::uint32_t U16()
    {
        if (!Need(2))
            return 0;
        const std::uint32_t value = bytes[at] | (bytes[at + 1] << 8);
        at += 2;
        return value;
    }
    std::uint32_t U32()
    {
        const std::uint32_t low = U16();
        return low | (U16() << 16);
    }
    int S16() { return static_cast<std::int16_t>(U16()); }
    void Skip(std::size_t count)
    {
        if (Need(count))
            at += count;
    }
    // Controls start on a 32-bit boundary of the template.
    void AlignTo4() { Skip((4 - at % 4) % 4); }
    std::u16string Text()
    {
        std::u16string text;
        for (std::uint32_t unit = U16(); ok && unit != 0; unit = U16())
            text += static_cast<char16_t>(unit);
        return text;
    }
    // A class, menu or caption: nothing (0), an ordinal (0xFFFF and a number) or a text.
    void SkipNameOrOrdinal()
    {
        const std::uint32_t first = U16();
        if (first == 0xFFFF)
            U16();
        else if (first != 0)
            Text();
    }

private:
    bool Need(std::size_t count)
    {
        if (size - at < count)
            ok = false;
        return ok;
    }

    const unsigned char* bytes;
    std::size_t size;
    std::size_t at = 0;
    bool ok = true;
};

} // namespace

bool ReadDialogLayout(const unsigned char* bytes, std::size_t size, DialogLayout& layout)
{
    layout = DialogLayout();
    TemplateReader in(bytes, size);
    const std::uint32_t version = in.U16();
    const std::uint32_t signature = in.U16();
    if (!in.Ok() || version != 1 || signature != 0xFFFF)
        return false;
    in.Skip(8); // help id, extended style
    const std::uint32_t style = in.U32();
    const std::uint32_t count = in.U16();
    in.Skip(4); // x, y
    layout.cx = in.S16();
    layout.cy = in.S16();
    in.SkipNameOrOrdinal(); // menu
    in.SkipNameOrOrdinal(); // class
    in.Text();              // title
    if (style & DsSetFont)
    {
        layout.pointSize = static_cast<int>(in.U16());
        in.Skip(4); // weight, italic, character set
        layout.face = in.Text();
    }

    for (std::uint32_t i = 0; i < count && in.Ok(); ++i)
    {
        in.AlignTo4();
        in.Skip(12); // help id, extended style, style
        DialogLayout::Control control = {};
        control.x = in.S16();
        control.y = in.S16();
        control.cx = in.S16();
        control.cy = in.S16();
        control.id = in.U32();
        in.SkipNameOrOrdinal(); // class
        in.SkipNameOrOrdinal(); // caption
        in.Skip(in.U16());      // creation data
        if (in.Ok())
            layout.controls.push_back(control);
    }
    return in.Ok();
}
