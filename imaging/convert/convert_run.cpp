#include "convert_run.h"

#include <exception>

#include "imaging/formats/picture_file.h"
#include "imaging/operations/count_colors.h"
#include "imaging/picture_proc.h"

namespace vistrel {

std::string PictureInfoLine(const TPictureBitmap& picture) {
  const std::int64_t colors =
      CountDistinctColors(picture, TPictureRect{0, 0, picture.Width() - 1, picture.Height() - 1});
  return std::to_string(picture.Width()) + " " + std::to_string(picture.Height()) + " " +
         std::to_string(picture.BitsPerPixel()) + " " + std::to_string(colors);
}

int RunConvert(const TConvertOptions& options, std::ostream& out, std::ostream& err) {
  try {
    TPictureBitmap picture;
    TIOParams params;
    LoadPictureFile(options.input, picture, params);

    TSelection selection(picture.Width(), picture.Height());
    TPictureProc proc(picture);  // a batch never undoes
    proc.SetSelection(&selection);
    for (const TConvertStep& step : options.steps) {
      if (const auto* op = std::get_if<TConvertOp>(&step)) {
        std::int64_t result = 0;
        const bool ran = proc.Run(*op->op, op->args, &result);
        if (ran && !op->op->caption) out << result << "\n";  // CountColors
      } else if (const auto* r = std::get_if<TConvertSelectRect>(&step)) {
        selection.SetPictureSize(picture.Width(), picture.Height());
        selection.SelectRect(r->left, r->top, r->right, r->bottom);
      } else if (const auto* e = std::get_if<TConvertSelectEllipse>(&step)) {
        selection.SetPictureSize(picture.Width(), picture.Height());
        selection.SelectEllipse(e->cx, e->cy, e->rx, e->ry);
      }
    }

    if (options.info) out << PictureInfoLine(picture) << "\n";
    if (options.output != "-") {
      for (const auto& [name, value] : options.writer_settings) SetWriterParameter(params, name, value);
      SavePictureFile(options.output, picture, params);
    }
    out.flush();
    return 0;
  } catch (const std::exception& e) {
    err << "vistrel-convert: " << e.what() << "\n";
    return 1;
  }
}

}  // namespace vistrel
