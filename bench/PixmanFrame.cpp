#include "bench/PixmanFrame.h"

#include <cmath>

namespace Zorvin {

namespace {

bool IsWhite(const Color& c) { return c.red >= 255 && c.green >= 255 && c.blue >= 255 && c.alpha >= 255; }

// A premultiplied 16-bit pixman colour.
pixman_color_t Premultiplied(const Color& c)
{
    int a = std::clamp(c.alpha, 0, 255);
    auto ch = [&](int v) { return uint16_t(std::clamp(v, 0, 255) * a / 255 * 257); };
    return pixman_color_t{ch(c.red), ch(c.green), ch(c.blue), uint16_t(a * 257)};
}

pixman_fixed_t Fixed(double v) { return pixman_double_to_fixed(v); }

} // namespace

PixmanFrame::PixmanFrame(const std::vector<DrawRequest>& requests) : screenPixels(800 * 600, 0xFF203040u)
{
    screen = pixman_image_create_bits(PIXMAN_x8r8g8b8, 800, 600, screenPixels.data(), 800 * 4);
    for (const DrawRequest& r : requests)
        Add(r);
}

PixmanFrame::~PixmanFrame()
{
    for (pixman_image_t* i : owned)
        pixman_image_unref(i);
    pixman_image_unref(screen);
}

PixmanFrame::Source& PixmanFrame::SourceOf(MemoryImage* image)
{
    auto& s = sources[image];
    if (s)
        return *s;
    s = std::make_unique<Source>();
    s->width = image->width;
    s->height = image->height;
    s->opaque = !image->hasAlpha && !image->hasTrans;
    s->pixels.resize(size_t(s->width) * size_t(s->height));
    // FetchRow reads palette pictures without turning them into pixels.
    for (int y = 0; y < s->height; y++)
        image->FetchRow(0, y, s->width, s->pixels.data() + size_t(y) * size_t(s->width));
    for (uint32_t& p : s->pixels) {
        uint32_t a = s->opaque ? 255 : p >> 24;
        uint32_t r = ((p >> 16) & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255, b = (p & 0xFF) * a / 255;
        p = (a << 24) | (r << 16) | (g << 8) | b;
    }
    return *s;
}

pixman_image_t* PixmanFrame::View(Source& s, const Rect& srcRect)
{
    uint32_t* origin = s.pixels.data() + size_t(srcRect.y) * size_t(s.width) + size_t(srcRect.x);
    pixman_image_t* i = pixman_image_create_bits(s.opaque ? PIXMAN_x8r8g8b8 : PIXMAN_a8r8g8b8, srcRect.width,
                                                 srcRect.height, origin, s.width * 4);
    owned.push_back(i);
    return i;
}

void PixmanFrame::Add(const DrawRequest& r)
{
    Step step;
    Rect whole(0, 0, 800, 600);
    switch (r.kind) {
    case DrawRequest::Fill:
    case DrawRequest::Clear:
        step.dest = r.dest.Intersection(whole);
        if (r.kind == DrawRequest::Clear || r.color.alpha >= 255) {
            step.op = PIXMAN_OP_SRC;
            step.fill = r.kind == DrawRequest::Clear ? pixman_color_t{0, 0, 0, 0} : Premultiplied(r.color);
        } else {
            step.op = PIXMAN_OP_OVER;
            step.fill = Premultiplied(r.color);
        }
        steps.push_back(step);
        return;
    case DrawRequest::Other:
        ++skipped;
        return;
    default:
        break;
    }
    Source& s = SourceOf(r.src);
    Rect sr = r.srcRect.Intersection(Rect(0, 0, s.width, s.height));
    if (sr.IsEmpty())
        return;
    step.src = View(s, sr);
    if (r.drawMode == Image::DrawModeAdditive)
        step.op = PIXMAN_OP_ADD;
    else
        step.op = s.opaque && r.color.alpha >= 255 && r.kind != DrawRequest::Rotated ? PIXMAN_OP_SRC : PIXMAN_OP_OVER;
    bool tinted = r.color.red < 255 || r.color.green < 255 || r.color.blue < 255;
    if (!IsWhite(r.color)) {
        pixman_color_t c = Premultiplied(r.color);
        step.mask = pixman_image_create_solid_fill(&c);
        pixman_image_set_component_alpha(step.mask, tinted);
        owned.push_back(step.mask);
    }
    pixman_transform_t t;
    pixman_transform_init_identity(&t);
    if (r.kind == DrawRequest::Blit) {
        step.dest = r.dest.Intersection(whole);
        step.srcX = step.dest.x - r.dest.x;
        step.srcY = step.dest.y - r.dest.y;
    } else if (r.kind == DrawRequest::Mirror) {
        // Destination x maps to srcRect.width - 1 - (x - dest.x).
        step.dest = r.dest.Intersection(whole);
        pixman_transform_init_scale(&t, Fixed(-1), Fixed(1));
        pixman_transform_translate(&t, nullptr, Fixed(sr.width), 0);
        pixman_image_set_transform(step.src, &t);
        step.srcX = step.dest.x - r.dest.x;
        step.srcY = step.dest.y - r.dest.y;
    } else if (r.kind == DrawRequest::Stretch) {
        step.dest = r.dest.Intersection(r.clip).Intersection(whole);
        double kx = double(sr.width) / r.dest.width, ky = double(sr.height) / r.dest.height;
        pixman_transform_init_scale(&t, Fixed(kx), Fixed(ky));
        pixman_image_set_transform(step.src, &t);
        pixman_image_set_filter(step.src, r.fastStretch ? PIXMAN_FILTER_NEAREST : PIXMAN_FILTER_BILINEAR, nullptr,
                                0);
        if (!r.fastStretch)
            pixman_image_set_repeat(step.src, PIXMAN_REPEAT_PAD);
        step.srcX = step.dest.x - r.dest.x;
        step.srcY = step.dest.y - r.dest.y;
    } else {
        // Rotated or at a fractional place: screen point q maps back to
        // centre + R^-1 (q - pivot), in the source rectangle's coordinates.
        step.dest = r.dest.Intersection(r.clip).Intersection(whole);
        double c = std::cos(r.angle), sn = std::sin(r.angle);
        double px = r.x + r.centerX, py = r.y + r.centerY;
        // u = cx + c (qx - px) - s (qy - py), v = cy + s (qx - px) + c (qy - py)
        struct pixman_f_transform f;
        pixman_f_transform_init_identity(&f);
        f.m[0][0] = c, f.m[0][1] = -sn, f.m[0][2] = r.centerX - c * px + sn * py;
        f.m[1][0] = sn, f.m[1][1] = c, f.m[1][2] = r.centerY - sn * px - c * py;
        pixman_transform_from_pixman_f_transform(&t, &f);
        pixman_image_set_transform(step.src, &t);
        pixman_image_set_filter(step.src, PIXMAN_FILTER_BILINEAR, nullptr, 0);
        step.srcX = step.dest.x;
        step.srcY = step.dest.y;
    }
    if (step.dest.IsEmpty())
        return;
    if (tinted) {
        scratch.emplace_back(size_t(step.dest.width) * size_t(step.dest.height));
        step.tinted = pixman_image_create_bits(PIXMAN_a8r8g8b8, step.dest.width, step.dest.height,
                                               scratch.back().data(), step.dest.width * 4);
        owned.push_back(step.tinted);
    }
    steps.push_back(step);
}

void PixmanFrame::Compose()
{
    for (const Step& s : steps) {
        if (s.src == nullptr) {
            pixman_box32_t box{s.dest.x, s.dest.y, s.dest.x + s.dest.width, s.dest.y + s.dest.height};
            pixman_image_fill_boxes(s.op, screen, &s.fill, 1, &box);
            continue;
        }
        if (s.tinted) {
            pixman_image_composite32(PIXMAN_OP_SRC, s.src, s.mask, s.tinted, s.srcX, s.srcY, 0, 0, 0, 0,
                                     s.dest.width, s.dest.height);
            pixman_image_composite32(s.op == PIXMAN_OP_SRC ? PIXMAN_OP_OVER : s.op, s.tinted, nullptr, screen, 0, 0,
                                     0, 0, s.dest.x, s.dest.y, s.dest.width, s.dest.height);
            continue;
        }
        pixman_image_composite32(s.op, s.src, s.mask, screen, s.srcX, s.srcY, 0, 0, s.dest.x, s.dest.y,
                                 s.dest.width, s.dest.height);
    }
}

} // namespace Zorvin
