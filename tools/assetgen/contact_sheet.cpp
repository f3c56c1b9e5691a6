// SPDX-License-Identifier: GPL-3.0-or-later
#include "contact_sheet.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "canvas.h"
#include "font.h"
#include "png_io.h"

namespace assetgen {
namespace {

constexpr int kSheetWidth = 1280;
constexpr int kPad = 14;
constexpr int kTextScale = 2;
const Color kBackground = rgb(46, 46, 52);
const Color kPanel = rgb(30, 30, 36);

struct Entry {
    std::string name;
    Image8 image;
    int zoom;
};

// Pictures that the game keys on black carry no alpha; their black is shown as
// transparent here too.
bool keyed(const std::string& name) {
    for (const char* prefix : {"shipkugel", "feind0", "feind1", "bonus", "planet"})
        if (name.rfind(prefix, 0) == 0) return true;
    return false;
}

void blit(Canvas& sheet, const Entry& e, int x0, int y0) {
    const bool key = keyed(e.name);
    for (int y = 0; y < e.image.height; ++y)
        for (int x = 0; x < e.image.width; ++x) {
            const uint8_t* p = &e.image.data[(static_cast<size_t>(y) * e.image.width + x) * 4];
            float a = p[3] / 255.0f;
            if (key) a = (p[0] | p[1] | p[2]) ? 1.0f : 0.0f;
            if (a <= 0.0f) continue;
            const Color c = rgb(p[0], p[1], p[2], a);
            for (int zy = 0; zy < e.zoom; ++zy)
                for (int zx = 0; zx < e.zoom; ++zx)
                    sheet.blend(x0 + x * e.zoom + zx, y0 + y * e.zoom + zy, c, 1.0f);
        }
}

}  // namespace

bool write_contact_sheet(const std::string& out, const std::string& pack_dir) {
    std::vector<Entry> entries;
    std::vector<std::string> names;
    for (const auto& f : std::filesystem::directory_iterator(pack_dir))
        if (f.path().extension() == ".png") names.push_back(f.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        Entry e{name, {}, 1};
        if (!read_png_rgba(pack_dir + "/" + name, e.image)) {
            std::fprintf(stderr, "assetgen: cannot read %s/%s\n", pack_dir.c_str(), name.c_str());
            return false;
        }
        const int side = std::max(e.image.width, e.image.height);
        e.zoom = side <= 16 ? 4 : (side <= 48 ? 2 : 1);
        entries.push_back(std::move(e));
    }

    // Flow layout: cells left to right, wrapping into rows.
    struct Placed {
        int x, y, w, h;
    };
    std::vector<Placed> cells;
    const int label_h = kGlyphHeight * kTextScale * 2 + 8;
    int x = kPad, y = kPad + 30, row_h = 0;
    for (const Entry& e : entries) {
        const std::string size_text = std::to_string(e.image.width) + "x" +
                                      std::to_string(e.image.height) +
                                      (e.zoom > 1 ? " (x" + std::to_string(e.zoom) + ")" : "");
        const int w = std::max({e.image.width * e.zoom, text_width(e.name, kTextScale),
                                text_width(size_text, kTextScale)}) +
                      12;
        const int h = e.image.height * e.zoom + label_h + 12;
        if (x + w > kSheetWidth - kPad && x > kPad) {
            x = kPad;
            y += row_h + kPad;
            row_h = 0;
        }
        cells.push_back({x, y, w, h});
        x += w + kPad;
        row_h = std::max(row_h, h);
    }
    Canvas sheet(kSheetWidth, y + row_h + kPad);
    paint(sheet, [](Vec2) { return kBackground; });
    draw_text(sheet, kPad, kPad, "Zentara asset pack - contact sheet", rgb(230, 230, 235),
              kTextScale);
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const Placed& c = cells[i];
        for (int py = c.y; py < c.y + c.h; ++py)
            for (int px = c.x; px < c.x + c.w; ++px) sheet.blend(px, py, kPanel, 1.0f);
        blit(sheet, e, c.x + (c.w - e.image.width * e.zoom) / 2, c.y + 6);
        const int ty = c.y + 6 + e.image.height * e.zoom + 6;
        draw_text(sheet, c.x + 6, ty, e.name, rgb(235, 235, 240), kTextScale);
        const std::string size_text = std::to_string(e.image.width) + "x" +
                                      std::to_string(e.image.height) +
                                      (e.zoom > 1 ? " (x" + std::to_string(e.zoom) + ")" : "");
        draw_text(sheet, c.x + 6, ty + kGlyphHeight * kTextScale + 4, size_text, rgb(150, 150, 160),
                  kTextScale);
    }
    return write_png(out, to_alpha(sheet, 0));
}

}  // namespace assetgen
