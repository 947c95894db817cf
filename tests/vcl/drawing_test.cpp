// Drawing into bitmaps and images, and pictures: pixels where the calls put them, JPEG
// decoding, and picture data from a layout.
#include <QBuffer>
#include <QImage>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "platform/gdi/dc.h"
#include "tests/vcl/vcl_test_support.h"

// The JPEG library's header needs FILE and size_t first.
#include <jpeglib.h>

namespace {

using namespace platform;

class Drawing : public vcltest::VclTest {};

bool Near(TColor a, TColor b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

int CountPixels(TCanvas* c, const TRect& r, TColor color) {
  int n = 0;
  for (int x = r.Left; x < r.Right; ++x) {
    for (int y = r.Top; y < r.Bottom; ++y) n += c->Pixels[x][y] == color;
  }
  return n;
}

TEST_F(Drawing, EllipseFillsInsideItsBoxOnly) {
  TBitmap bmp;
  bmp.SetSize(100, 100);
  TCanvas* c = bmp.Canvas;
  EXPECT_EQ(c->Pixels[50][50], clWhite);
  c->Brush->Color = clBlue;
  c->Pen->Color = clBlack;
  c->Ellipse(10, 10, 51, 51);
  struct Probe {
    int x, y;
    TColor color;
  };
  for (const Probe& p : {Probe{30, 30, clBlue}, Probe{30, 12, clBlue}, Probe{10, 30, clBlack},
                         Probe{30, 10, clBlack}, Probe{50, 30, clBlack}, Probe{51, 30, clWhite},
                         Probe{30, 51, clWhite}, Probe{10, 10, clWhite}, Probe{9, 30, clWhite},
                         Probe{70, 70, clWhite}}) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    EXPECT_EQ(c->Pixels[p.x][p.y], p.color);
  }
  // Outside the bitmap there is no pixel.
  EXPECT_EQ(c->Pixels[100][0], -1);
  EXPECT_EQ(c->Pixels[-1][5], -1);
  c->Pixels[-1][5] = clRed;  // ignored
}

TEST_F(Drawing, SkyPlotSatelliteAtComputedPlace) {
  // A satellite drawn on an image the way the sky plot does: a 24-pixel disc with its number.
  TForm form(nullptr);
  auto* img = new TImage(&form);
  img->Parent = &form;
  img->SetBounds(2, 8, 177, 177);
  TCanvas* c = img->Canvas;
  ASSERT_EQ(img->Picture->Width(), 177);
  c->Brush->Color = clBlack;
  c->FillRect(Rect(0, 0, 177, 177));
  const int x = 161, y = 89;  // elevation 0, azimuth 90
  c->Font->Color = clYellow;
  c->Brush->Color = clBlue;
  c->Pen->Color = clBlue;
  c->Ellipse(x - 12, y - 12, x + 12, y + 12);
  c->TextOut(x - 6, y - 6, "14");
  EXPECT_EQ(c->Pixels[x - 12][y], clBlue);
  EXPECT_EQ(c->Pixels[x + 11][y], clBlue);
  EXPECT_EQ(c->Pixels[x + 12][y], clBlack);
  EXPECT_EQ(c->Pixels[x][y + 12], clBlack);
  EXPECT_EQ(c->Pixels[x - 12][y - 12], clBlack);
  const TRect text = Bounds(x - 6, y - 6, c->TextWidth("14"), c->TextHeight("14"));
  EXPECT_GT(CountPixels(c, text, clYellow), 0);
  EXPECT_EQ(CountPixels(c, Rect(0, 0, 140, 177), clYellow), 0);
  EXPECT_EQ(c->PenPos, Point(x - 6 + text.Width(), y - 6));
  // The link indicator: a filled disc in the top-right corner, drawn over what is there.
  c->Brush->Color = clRed;
  c->Pen->Color = clRed;
  c->Ellipse(177 - 32, 5, 177 - 7, 30);
  EXPECT_EQ(c->Pixels[177 - 20][17], clRed);
  EXPECT_EQ(c->Pixels[177 - 33][17], clBlack);
  // The control shows what was drawn.
  form.ClientWidth = 190;
  form.ClientHeight = 190;
  form.Show();
  vcltest::ProcessEvents();
  const QImage shot = form.Widget()->grab().toImage();
  EXPECT_EQ(shot.pixel(2 + x, 8 + y + 8), qRgb(0, 0, 255));
  EXPECT_EQ(shot.pixel(2 + 177 - 20, 8 + 17), qRgb(255, 0, 0));
}

TEST_F(Drawing, TextOutBackgroundFollowsTheBrush) {
  TBitmap bmp;
  bmp.SetSize(80, 30);
  TCanvas* c = bmp.Canvas;
  c->Font->Color = clRed;
  c->Brush->Color = clLime;
  c->TextOut(2, 2, "88");
  const TRect box = Bounds(2, 2, c->TextWidth("88"), c->TextHeight("88"));
  EXPECT_GT(CountPixels(c, box, clLime), 0);
  EXPECT_GT(CountPixels(c, box, clRed), 0);
  EXPECT_EQ(c->Pixels[box.Right + 1][box.Top], clWhite);
  c->Brush->Style = bsClear;
  c->TextOut(40, 2, "88");
  EXPECT_EQ(CountPixels(c, Bounds(40, 2, box.Width(), box.Height()), clLime), 0);
  EXPECT_GT(CountPixels(c, Bounds(40, 2, box.Width(), box.Height()), clRed), 0);
}

// A text colour set on the device context (a pattern brush's foreground) survives the next use
// of the canvas; a change of the font's colour replaces it.
TEST_F(Drawing, DeviceTextColourFollowsTheFontOnlyWhenTheFontChanges) {
  TBitmap bmp;
  bmp.SetSize(10, 10);
  TCanvas* c = bmp.Canvas;
  c->Font->Color = clRed;
  gdi::Dc* dc = c->GetHandle();
  EXPECT_EQ(dc->GetTextColor(), clRed);
  dc->SetTextColor(clBlue);
  EXPECT_EQ(c->GetHandle()->GetTextColor(), clBlue);
  c->Font->Color = clGreen;
  EXPECT_EQ(c->GetHandle()->GetTextColor(), clGreen);
  c->Font->Style = TFontStyles{fsBold};
  dc->SetTextColor(clBlue);
  c->Font->Style = TFontStyles{};
  EXPECT_EQ(c->GetHandle()->GetTextColor(), clGreen);
}

TEST_F(Drawing, LinesAndRectanglesExcludeTheirFarEdge) {
  TBitmap bmp;
  bmp.SetSize(40, 40);
  TCanvas* c = bmp.Canvas;
  c->Pen->Color = clRed;
  c->MoveTo(0, 5);
  c->LineTo(10, 5);
  EXPECT_EQ(c->Pixels[0][5], clRed);
  EXPECT_EQ(c->Pixels[9][5], clRed);
  EXPECT_EQ(c->Pixels[10][5], clWhite);
  EXPECT_EQ(c->PenPos, Point(10, 5));
  c->Brush->Color = clGreen;
  c->Rectangle(10, 10, 20, 20);
  EXPECT_EQ(c->Pixels[10][10], clRed);
  EXPECT_EQ(c->Pixels[19][19], clRed);
  EXPECT_EQ(c->Pixels[15][15], clGreen);
  EXPECT_EQ(c->Pixels[20][15], clWhite);
  c->Brush->Color = clNavy;
  c->FillRect(Rect(25, 25, 30, 30));
  EXPECT_EQ(c->Pixels[25][25], clNavy);
  EXPECT_EQ(c->Pixels[29][29], clNavy);
  EXPECT_EQ(c->Pixels[30][29], clWhite);
  // Empty and inverted shapes draw nothing.
  c->Brush->Color = clPurple;
  c->Rectangle(5, 30, 5, 35);
  c->Ellipse(8, 35, 2, 30);
  EXPECT_EQ(CountPixels(c, Rect(0, 28, 10, 40), clPurple), 0);
}

TEST_F(Drawing, BitmapResizeKeepsContentAndAssignCopies) {
  TBitmap a;
  a.SetSize(10, 10);
  a.Canvas->Pixels[3][4] = clRed;
  a.Width = 20;
  EXPECT_EQ(a.Width, 20);
  EXPECT_EQ(a.Height, 10);
  EXPECT_EQ(a.Canvas->Pixels[3][4], clRed);
  EXPECT_EQ(a.Canvas->Pixels[15][4], clWhite);
  TBitmap b;
  b.Assign(a);
  a.Canvas->Pixels[3][4] = clBlue;
  EXPECT_EQ(b.Canvas->Pixels[3][4], clRed);
  a.SetSize(0, 0);
  EXPECT_TRUE(a.Empty());
  a.Canvas->Ellipse(0, 0, 5, 5);  // no pixels, nothing happens
  EXPECT_EQ(a.Canvas->Pixels[1][1], -1);
}

std::string MakeJpeg(int width, int height, int quality, bool gray = false) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = gray ? 1 : 3;
  info.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(width) * info.input_components);
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < width; ++x) {
      if (gray) {
        row[static_cast<size_t>(x)] = 128;
        continue;
      }
      // Left half red, right half blue.
      const bool left = x < width / 2;
      row[static_cast<size_t>(x) * 3 + 0] = left ? 255 : 0;
      row[static_cast<size_t>(x) * 3 + 1] = 0;
      row[static_cast<size_t>(x) * 3 + 2] = left ? 0 : 255;
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&info, &p, 1);
  }
  jpeg_finish_compress(&info);
  std::string bytes(reinterpret_cast<char*>(out), size);
  jpeg_destroy_compress(&info);
  std::free(out);
  return bytes;
}

TEST_F(Drawing, JpegDecodesToSizeAndColours) {
  const std::string data = MakeJpeg(32, 16, 95);
  TJPEGImage jpeg;
  jpeg.LoadFromData(data);
  EXPECT_EQ(jpeg.GetWidth(), 32);
  EXPECT_EQ(jpeg.GetHeight(), 16);
  TBitmap bmp;
  bmp.Assign(jpeg);
  EXPECT_EQ(bmp.Width, 32);
  EXPECT_EQ(bmp.Height, 16);
  EXPECT_TRUE(Near(bmp.Canvas->Pixels[4][8], clRed, 40)) << std::hex << bmp.Canvas->Pixels[4][8];
  EXPECT_TRUE(Near(bmp.Canvas->Pixels[27][8], clBlue, 40)) << std::hex << bmp.Canvas->Pixels[27][8];
  TJPEGImage gray;
  gray.LoadFromData(MakeJpeg(8, 8, 90, true));
  bmp.Assign(gray);
  EXPECT_TRUE(Near(bmp.Canvas->Pixels[3][3], RGB(128, 128, 128), 6));
  // Drawn stretched onto a canvas.
  TBitmap target;
  target.SetSize(64, 64);
  target.Canvas->StretchDraw(Rect(0, 0, 64, 64), &jpeg);
  EXPECT_TRUE(Near(target.Canvas->Pixels[5][40], clRed, 40));
  EXPECT_TRUE(Near(target.Canvas->Pixels[60][40], clBlue, 40));
}

TEST_F(Drawing, BadJpegRaisesAndKeepsThePicture) {
  const std::string good = MakeJpeg(16, 8, 80);
  TJPEGImage jpeg;
  jpeg.LoadFromData(good);
  const std::vector<std::string> bad = {
      "",
      "not a jpeg at all",
      good.substr(0, 20),
      std::string("\xFF\xD8\xFF\xD9", 4),
      good.substr(0, 2) + std::string(200, '\xFF'),
  };
  for (const std::string& b : bad) {
    SCOPED_TRACE(b.size());
    try {
      jpeg.LoadFromData(b);
      ADD_FAILURE() << "accepted";
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(std::string(e.what()).rfind("JPEG error: ", 0), 0u) << e.what();
    }
    EXPECT_EQ(jpeg.GetWidth(), 16);
  }
  // Damaged data after the header: decoded or refused, never a crash.
  unsigned seed = 7;
  int decoded = 0, refused = 0;
  for (int round = 0; round < 300; ++round) {
    std::string s = good;
    for (int k = 0; k < 4; ++k) {
      seed = seed * 1103515245 + 12345;
      s[(seed >> 8) % s.size()] = static_cast<char>(seed >> 16);
    }
    if (round % 3 == 0) s.resize(s.size() / 2);
    try {
      TJPEGImage j;
      j.LoadFromData(s);
      ++decoded;
    } catch (const EInvalidGraphic&) {
      ++refused;
    }
  }
  EXPECT_EQ(decoded + refused, 300);
}

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % 32 == 0) out += "\n      ";
    out += digits[static_cast<unsigned char>(bytes[i]) >> 4];
    out += digits[static_cast<unsigned char>(bytes[i]) & 15];
  }
  return out;
}

std::string PictureData(const std::string& cls, const std::string& file) {
  std::string out(1, static_cast<char>(cls.size()));
  out += cls;
  const auto n = static_cast<std::uint32_t>(file.size());
  for (int i = 0; i < 4; ++i) out += static_cast<char>((n >> (8 * i)) & 0xFF);
  return out + file;
}

TEST_F(Drawing, PicturesFromLayoutDataAndImageCanvas) {
  QImage sky(177, 177, QImage::Format_RGB32);
  sky.fill(QColor(0, 128, 0));
  QByteArray bmpFile;
  QBuffer buffer(&bmpFile);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(sky.save(&buffer, "BMP"));
  const std::string bmp(bmpFile.constData(), static_cast<size_t>(bmpFile.size()));
  const std::string layout =
      "object F: TForm\n"
      "  object ImgSV: TImage\n    Left = 8\n    Top = 8\n    Width = 177\n    Height = 177\n"
      "    Picture.Data = {" +
      Hex(PictureData("TBitmap", bmp)) +
      "}\n  end\n"
      "  object ImgSVOrig: TImage\n    Width = 177\n    Height = 177\n    Visible = False\n"
      "    Picture.Data = {" +
      Hex(PictureData("TBitmap", bmp)) +
      "}\n  end\n"
      "  object Image2: TImage\n    Top = 190\n    Width = 213\n    Height = 73\n    Stretch = "
      "True\n"
      "    Picture.Data = {" +
      Hex(PictureData("TJPEGImage", MakeJpeg(32, 16, 90))) +
      "}\n"
      "  end\nend\n";
  TForm form(nullptr);
  TImage *sv = nullptr, *orig = nullptr, *logo = nullptr;
  form.LoadLayout(
      layout, TLayoutBindings().Field("ImgSV", sv).Field("ImgSVOrig", orig).Field("Image2", logo));
  EXPECT_EQ(sv->Picture->Width(), 177);
  EXPECT_EQ(sv->Canvas->Pixels[90][90], RGB(0, 128, 0));
  EXPECT_STREQ(logo->Picture->Graphic()->ClassName(), "TJPEGImage");
  EXPECT_TRUE(logo->Stretch);
  // A JPEG picture has no canvas.
  EXPECT_THROW(logo->GetCanvas(), EInvalidOperation);

  // Draw on the plot, then restore it from the clean copy.
  sv->Canvas->Brush->Color = clYellow;
  sv->Canvas->Ellipse(177 - 32, 5, 177 - 7, 30);
  EXPECT_EQ(sv->Canvas->Pixels[177 - 20][17], clYellow);
  EXPECT_EQ(orig->Canvas->Pixels[177 - 20][17], RGB(0, 128, 0));
  sv->Picture->Assign(orig->Picture);
  EXPECT_EQ(sv->Canvas->Pixels[177 - 20][17], RGB(0, 128, 0));
  // The copy is independent of the original.
  sv->Canvas->Pixels[0][0] = clRed;
  EXPECT_EQ(orig->Canvas->Pixels[0][0], RGB(0, 128, 0));

  // What a person sees: the image widget shows the picture.
  form.ClientWidth = 220;
  form.ClientHeight = 270;
  form.Show();
  vcltest::ProcessEvents();
  const QImage shot = form.Widget()->grab().toImage();
  EXPECT_EQ(shot.pixel(8, 8), qRgb(255, 0, 0));
  EXPECT_EQ(shot.pixel(9, 9), qRgb(0, 128, 0));
  EXPECT_EQ(shot.pixel(8 + 176, 8 + 176), qRgb(0, 128, 0));
  // The logo is stretched over its whole control: red on the left, blue on the right.
  const QColor logoLeft(shot.pixel(20, 190 + 36)), logoRight(shot.pixel(200, 190 + 36));
  EXPECT_GT(logoLeft.red(), 200);
  EXPECT_LT(logoLeft.blue(), 60);
  EXPECT_GT(logoRight.blue(), 200);
  EXPECT_LT(logoRight.red(), 60);
}

TEST_F(Drawing, EmptyImageCanvasMakesABitmapOfTheControlSize) {
  TForm form(nullptr);
  auto* img = new TImage(&form);
  img->Parent = &form;
  img->SetBounds(0, 0, 30, 20);
  img->Canvas->Pixels[29][19] = clRed;
  EXPECT_EQ(img->Picture->Width(), 30);
  EXPECT_EQ(img->Picture->Height(), 20);
  EXPECT_EQ(img->Canvas->Pixels[29][19], clRed);
}

}  // namespace
