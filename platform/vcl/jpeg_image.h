// A JPEG picture, decoded with the system JPEG library when it is loaded.
#pragma once

#include <memory>
#include <string>

#include "platform/vcl/picture.h"

namespace platform {

class TJPEGImage : public TGraphic {
 public:
  TJPEGImage();
  ~TJPEGImage() override;
  const char* ClassName() const override { return "TJPEGImage"; }

  // Decodes the JPEG file image; EInvalidGraphic (with the decoder's message) when it is not
  // a readable JPEG. On failure the previous picture is kept.
  void LoadFromData(const std::string& bytes);
  void LoadFromFile(const std::string& path);

  int GetWidth() const override;
  int GetHeight() const override;
  std::unique_ptr<TGraphic> Clone() const override;
  const QImage* Image() const override { return image_.get(); }
  // The compressed bytes as loaded.
  const std::string& Data() const { return data_; }

 private:
  std::unique_ptr<QImage> image_;
  std::string data_;
};

}  // namespace platform
