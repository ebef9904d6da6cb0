#include "segdraw_fixture.h"

#include <unistd.h>

#include <QWidget>
#include <cmath>

namespace segdrawtest {

namespace {
void Put(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}
}  // namespace

std::string Bmp(int width, int height, int bits, const std::function<uint32_t(int, int)>& pixel) {
  const int palette = bits <= 8 ? 1 << bits : 0;
  const int row = (bits * width + 31) / 32 * 4;
  std::string out = "BM";
  Put(out, static_cast<uint32_t>(54 + palette * 4 + row * height), 4);
  Put(out, 0, 4);
  Put(out, static_cast<uint32_t>(54 + palette * 4), 4);
  for (uint32_t v : {40u, static_cast<uint32_t>(width), static_cast<uint32_t>(height)}) Put(out, v, 4);
  Put(out, 1, 2);
  Put(out, static_cast<uint32_t>(bits), 2);
  for (int i = 0; i < 6; ++i) Put(out, 0, 4);  // compression, size, resolution, colours (0: all)
  for (int i = 0; i < palette; ++i)  // a grey ramp; index 0 black, the last white
    Put(out, static_cast<uint32_t>(i * 255 / (palette - 1)) * 0x010101u, 4);
  for (int y = height - 1; y >= 0; --y) {
    std::string line(static_cast<size_t>(row), '\0');
    for (int x = 0; x < width; ++x) {
      const uint32_t v = pixel(x, y);
      if (bits == 1)
        line[static_cast<size_t>(x / 8)] = static_cast<char>(line[static_cast<size_t>(x / 8)] | (v & 1) << (7 - x % 8));
      else if (bits == 8)
        line[static_cast<size_t>(x)] = static_cast<char>(v);
      else
        for (int b = 0; b < 3; ++b) line[static_cast<size_t>(x * 3 + b)] = static_cast<char>(v >> (8 * b));
    }
    out += line;
  }
  return out;
}

std::string BlackWhite(int width, int height, const std::function<bool(int, int)>& black) {
  return Bmp(width, height, 1, [&](int x, int y) { return black(x, y) ? 0u : 1u; });
}

void SegdrawTest::SetUp() {
  setenv("TAVIX_REGISTRY_DIR", folder.path().c_str(), 1);
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd) != nullptr) oldDir = cwd;
  platform::SetMessageBoxHook([this](const std::string& text, const std::string& title, unsigned style) {
    boxes.push_back(title + "|" + text + "|" + std::to_string(style));
    if (answers.empty()) return platform::DefaultAnswer(style);
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  });
  platform::SetDialogHook([this](platform::CommonDialog& dialog, platform::CommonDialog::Action) {
    dialogNames.push_back(dialog.FileName);
    if (files.empty() || files.front().empty()) {
      if (!files.empty()) files.pop_front();
      return false;
    }
    dialog.FileName = files.front();
    files.pop_front();
    return true;
  });
  platform::SetModalFormHook([this](QWidget& form) {
    if (modals.empty()) return form.hide();
    const auto script = std::move(modals.front());
    modals.pop_front();
    form.show();
    script(form);
    form.hide();
  });
  app = std::make_unique<CSegdrawApp>();
  ASSERT_TRUE(app->InitInstance());
}

void SegdrawTest::TearDown() {
  app.reset();
  platform::SetMessageBoxHook({});
  platform::SetDialogHook({});
  platform::SetModalFormHook({});
  if (!oldDir.empty() && chdir(oldDir.c_str()) != 0) ADD_FAILURE() << "chdir";
}

std::vector<std::string> SegdrawTest::takeBoxes() { return std::exchange(boxes, {}); }

QPoint SegdrawTest::at(QPoint q) {
  const float z = view().Zoom();
  const auto axis = [z](int units) {
    int p = static_cast<int>(std::floor(static_cast<float>(units) * z)) - 1;
    while (static_cast<int>(static_cast<float>(p) / z) < units) ++p;
    return p;
  };
  return QPoint(axis(q.x() + doc().GetDisplayX()), axis(q.y() + doc().GetDisplayY())) - view().ScrollPosition();
}

QImage SegdrawTest::render() { return view().viewport()->grab().toImage(); }

}  // namespace segdrawtest
