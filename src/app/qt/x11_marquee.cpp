#include "app/qt/x11_marquee.h"

#include <QGuiApplication>
#include <QSysInfo>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/render.h>
#include <xcb/xcb.h>
#include <xcb/xcb_renderutil.h>

#include <algorithm>
#include <cstdlib>

namespace wavecrest {
namespace {

xcb_connection_t* Connection() {
  if (qGuiApp == nullptr) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 != nullptr ? x11->connection() : nullptr;
}

// Whether pixmaps of `depth` hold `bitsPerPixel` bits a pixel, rows padded to
// 32 bits as QImage pads them.
bool PixmapsLikeImages(const xcb_setup_t* setup, std::uint8_t depth, std::uint8_t bitsPerPixel) {
  for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem > 0; xcb_format_next(&it)) {
    if (it.data->depth == depth) return it.data->bits_per_pixel == bitsPerPixel && it.data->scanline_pad == 32;
  }
  return false;
}

const xcb_visualtype_t* FindVisual(const xcb_setup_t* setup, xcb_visualid_t id) {
  for (auto screen = xcb_setup_roots_iterator(setup); screen.rem > 0; xcb_screen_next(&screen)) {
    for (auto depth = xcb_screen_allowed_depths_iterator(screen.data); depth.rem > 0; xcb_depth_next(&depth)) {
      for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem > 0; xcb_visualtype_next(&visual)) {
        if (visual.data->visual_id == id) return visual.data;
      }
    }
  }
  return nullptr;
}

// Sends an image into a pixmap, in as many requests as the server's largest
// request needs.
void PutImage(xcb_connection_t* c, std::uint32_t pixmap, std::uint32_t gc, const QImage& image, std::uint8_t depth) {
  const auto stride = static_cast<std::uint32_t>(image.bytesPerLine());
  const std::uint32_t largest = xcb_get_maximum_request_length(c) * 4;
  const std::uint32_t header = 64;
  const int band = static_cast<int>(std::max<std::uint32_t>(1, (largest - header) / stride));
  for (int top = 0; top < image.height(); top += band) {
    const int rows = std::min(band, image.height() - top);
    xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, static_cast<std::uint16_t>(image.width()),
                  static_cast<std::uint16_t>(rows), 0, static_cast<std::int16_t>(top), 0, depth,
                  stride * static_cast<std::uint32_t>(rows), image.constScanLine(top));
  }
}

template <typename Reply>
struct FreeReply {
  void operator()(Reply* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply<Reply>>;

}  // namespace

bool X11Marquee::Available() {
  xcb_connection_t* c = Connection();
  if (c == nullptr) return false;
  const xcb_setup_t* setup = xcb_get_setup(c);
  const auto hostOrder =
      QSysInfo::ByteOrder == QSysInfo::LittleEndian ? XCB_IMAGE_ORDER_LSB_FIRST : XCB_IMAGE_ORDER_MSB_FIRST;
  if (setup->image_byte_order != hostOrder) return false;
  if (!PixmapsLikeImages(setup, 24, 32) || !PixmapsLikeImages(setup, 8, 8)) return false;
  const xcb_render_query_pict_formats_reply_t* formats = xcb_render_util_query_formats(c);
  return formats != nullptr && xcb_render_util_find_standard_format(formats, XCB_PICT_STANDARD_A_8) != nullptr;
}

std::unique_ptr<X11Marquee> X11Marquee::Create(std::uintptr_t window, const QImage& background, QColor colour) {
  xcb_connection_t* c = Connection();
  if (c == nullptr || window == 0) return nullptr;
  const auto id = static_cast<xcb_window_t>(window);
  const ReplyPtr<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr));
  const ReplyPtr<xcb_get_window_attributes_reply_t> attributes(
      xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, id), nullptr));
  if (!geometry || !attributes || geometry->depth != 24) return nullptr;
  const xcb_visualtype_t* visual = FindVisual(xcb_get_setup(c), attributes->visual);
  if (visual == nullptr || visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR || visual->red_mask != 0xff0000 ||
      visual->green_mask != 0xff00 || visual->blue_mask != 0xff) {
    return nullptr;
  }
  const xcb_render_query_pict_formats_reply_t* formats = xcb_render_util_query_formats(c);
  const xcb_render_pictvisual_t* pictVisual =
      formats != nullptr ? xcb_render_util_find_visual_format(formats, attributes->visual) : nullptr;
  const xcb_render_pictforminfo_t* a8 =
      formats != nullptr ? xcb_render_util_find_standard_format(formats, XCB_PICT_STANDARD_A_8) : nullptr;
  if (pictVisual == nullptr || a8 == nullptr) return nullptr;

  std::unique_ptr<X11Marquee> marquee(new X11Marquee(c, id, geometry->width, geometry->height));
  marquee->depth_ = geometry->depth;
  marquee->visualFormat_ = pictVisual->format;
  marquee->a8Format_ = a8->id;
  // No exposure events from copies: the line is never copied from where it
  // might be covered, and each event would wake the program for nothing.
  const std::uint32_t noExposures = 0;
  marquee->gc_ = xcb_generate_id(c);
  xcb_create_gc(c, marquee->gc_, id, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
  const auto width = static_cast<std::uint16_t>(marquee->width_);
  const auto height = static_cast<std::uint16_t>(marquee->height_);
  marquee->background_ = xcb_generate_id(c);
  xcb_create_pixmap(c, marquee->depth_, marquee->background_, id, width, height);
  // Parts of the line beyond the picture (there are none) would be black.
  const QImage skin = background.convertToFormat(QImage::Format_RGB32).copy(0, 0, marquee->width_, marquee->height_);
  PutImage(c, marquee->background_, marquee->gc_, skin, marquee->depth_);
  marquee->scratch_ = xcb_generate_id(c);
  xcb_create_pixmap(c, marquee->depth_, marquee->scratch_, id, width, height);
  marquee->scratchPicture_ = xcb_generate_id(c);
  xcb_render_create_picture(c, marquee->scratchPicture_, marquee->scratch_, marquee->visualFormat_, 0, nullptr);
  const auto channel = [](int value) { return static_cast<std::uint16_t>(value * 257); };
  const xcb_render_color_t fill{channel(colour.red()), channel(colour.green()), channel(colour.blue()), 0xffff};
  marquee->fill_ = xcb_generate_id(c);
  xcb_render_create_solid_fill(c, marquee->fill_, fill);
  return marquee;
}

X11Marquee::X11Marquee(xcb_connection_t* connection, std::uint32_t window, int width, int height)
    : connection_(connection), window_(window), width_(width), height_(height) {}

X11Marquee::~X11Marquee() {
  SetCoverage(QImage());
  xcb_render_free_picture(connection_, fill_);
  xcb_render_free_picture(connection_, scratchPicture_);
  xcb_free_pixmap(connection_, scratch_);
  xcb_free_pixmap(connection_, background_);
  xcb_free_gc(connection_, gc_);
  xcb_flush(connection_);
}

void X11Marquee::SetCoverage(const QImage& coverage) {
  if (coveragePicture_ != 0) {
    xcb_render_free_picture(connection_, coveragePicture_);
    xcb_free_gc(connection_, coverageGc_);
    xcb_free_pixmap(connection_, coverage_);
    coveragePicture_ = coverageGc_ = coverage_ = 0;
  }
  if (coverage.isNull()) return;
  const QImage alpha = coverage.convertToFormat(QImage::Format_Alpha8);
  coverage_ = xcb_generate_id(connection_);
  xcb_create_pixmap(connection_, 8, coverage_, window_, static_cast<std::uint16_t>(alpha.width()),
                    static_cast<std::uint16_t>(alpha.height()));
  coverageGc_ = xcb_generate_id(connection_);
  xcb_create_gc(connection_, coverageGc_, coverage_, 0, nullptr);
  PutImage(connection_, coverage_, coverageGc_, alpha, 8);
  coveragePicture_ = xcb_generate_id(connection_);
  xcb_render_create_picture(connection_, coveragePicture_, coverage_, a8Format_, 0, nullptr);
}

void X11Marquee::Draw(int from, int wide) {
  const auto width = static_cast<std::uint16_t>(width_);
  const auto height = static_cast<std::uint16_t>(height_);
  xcb_copy_area(connection_, background_, scratch_, gc_, 0, 0, 0, 0, width, height);
  if (coveragePicture_ != 0 && wide > 0) {
    xcb_render_composite(connection_, XCB_RENDER_PICT_OP_OVER, fill_, coveragePicture_, scratchPicture_, 0, 0,
                         static_cast<std::int16_t>(from), 0, 0, 0, static_cast<std::uint16_t>(wide), height);
  }
  xcb_copy_area(connection_, scratch_, window_, gc_, 0, 0, 0, 0, width, height);
  xcb_flush(connection_);
}

}  // namespace wavecrest
