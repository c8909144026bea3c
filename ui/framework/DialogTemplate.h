#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What an extended dialog template (DLGTEMPLATEEX) says of the dialog's geometry: its size, its font and the
// place of each control, all in dialog units. Portable; read from the resource's bytes.
struct DialogLayout
{
    struct Control
    {
        std::uint32_t id;
        int x;
        int y;
        int cx;
        int cy;
    };

    int cx = 0;
    int cy = 0;
    // The template's font, when it names one (DS_SETFONT): 0 points otherwise.
    int pointSize = 0;
    std::u16string face;
    std::vector<Control> controls;
};

// Reads a template of the extended form. False, with `layout` incomplete, for the old form or a template that
// ends before its last control.
bool ReadDialogLayout(const unsigned char* bytes, std::size_t size, DialogLayout& layout);
