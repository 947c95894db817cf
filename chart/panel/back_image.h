// The picture behind a panel or inside its walls: stretched, tiled, centred or placed.
#pragma once

#include "platform/vcl/picture.h"

namespace chart {

enum TPlotBackImageMode { pbmStretch, pbmTile, pbmCenter, pbmCustom };

class TBackImage : public platform::TPicture {
 public:
  const char* ClassName() const override { return "TBackImage"; }

  // From another back image the four settings, then the picture; from a plain picture only
  // the picture.
  void Assign(const platform::TPicture* source);
  using platform::TPicture::Assign;

  // Each setter stores and signals the picture's change only on a real change.
  bool GetInside() const { return inside_; }
  void SetInside(const bool& v);
  int GetLeft() const { return left_; }
  void SetLeft(const int& v);
  int GetTop() const { return top_; }
  void SetTop(const int& v);
  TPlotBackImageMode GetMode() const { return mode_; }
  void SetMode(const TPlotBackImageMode& v);

 private:
  void Notify();
  bool inside_ = false;
  int left_ = 0;
  int top_ = 0;
  TPlotBackImageMode mode_ = pbmStretch;
};

}  // namespace chart
