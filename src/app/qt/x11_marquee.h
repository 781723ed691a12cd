#pragma once

// The song line drawn by the X server itself. The line turns twice a second
// for as long as the window is open; through Qt each turn is a repaint of the
// window's backing store, a round trip to the server and an image sent over,
// several times the work of everything else the idle program does. Here the
// skin under the line and the text's coverage are sent once per text; a turn
// is three small requests and no reply: the skin into a scratch picture, the
// text's colour through the coverage from the turn's place, the scratch onto
// the window (so the line never shows half drawn).

#include <QImage>

#include <cstdint>
#include <memory>

struct xcb_connection_t;

namespace wavecrest {

class X11Marquee {
 public:
  // Whether lines can be drawn this way: Qt runs on X, the screen is 24-bit
  // colour in 32-bit pixels as Qt's images hold them, and the server has the
  // picture extension.
  static bool Available();

  // Resources for `window` (an X window of the line's size); nullptr when
  // the window's depth or visual is not the one `Available` saw.
  static std::unique_ptr<X11Marquee> Create(std::uintptr_t window, const QImage& background, QColor colour);
  ~X11Marquee();
  X11Marquee(const X11Marquee&) = delete;
  X11Marquee& operator=(const X11Marquee&) = delete;

  // The text's coverage: an 8-bit alpha picture as tall as the line.
  void SetCoverage(const QImage& coverage);
  std::uintptr_t Window() const { return window_; }
  // Draws the skin and, from `from` on in the coverage, `wide` pixels of text.
  void Draw(int from, int wide);

 private:
  X11Marquee(xcb_connection_t* connection, std::uint32_t window, int width, int height);

  xcb_connection_t* connection_;
  std::uint32_t window_;
  int width_;
  int height_;
  std::uint32_t gc_ = 0;           // for the window's depth
  std::uint32_t background_ = 0;   // pixmap: the skin under the line
  std::uint32_t scratch_ = 0;      // pixmap the turn is put together in
  std::uint32_t scratchPicture_ = 0;
  std::uint32_t fill_ = 0;         // picture: the text's colour
  std::uint32_t coverage_ = 0;     // pixmap, 8 bits deep
  std::uint32_t coverageGc_ = 0;
  std::uint32_t coveragePicture_ = 0;
  std::uint32_t a8Format_ = 0;
  std::uint32_t visualFormat_ = 0;
  std::uint8_t depth_ = 0;
};

}  // namespace wavecrest
