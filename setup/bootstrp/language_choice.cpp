#include "language_choice.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "boot_dialogs.h"
#include "platform/hooks.h"
#include "platform/profile.h"

namespace vanstall {
namespace {

struct LocaleId {
  const char* name;  // language, or language_COUNTRY
  unsigned id;
};

// The main country of a language comes first.
constexpr LocaleId kLocales[] = {
    {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"de_DE", 0x0407},
    {"de_CH", 0x0807}, {"de_AT", 0x0C07}, {"fr_FR", 0x040C}, {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C},
    {"fr_CH", 0x100C}, {"it_IT", 0x0410}, {"it_CH", 0x0810}, {"es_ES", 0x0C0A}, {"es_MX", 0x080A},
    {"nl_NL", 0x0413}, {"nl_BE", 0x0813}, {"pt_BR", 0x0416}, {"pt_PT", 0x0816}, {"sv_SE", 0x041D},
    {"da_DK", 0x0406}, {"fi_FI", 0x040B}, {"nb_NO", 0x0414}, {"pl_PL", 0x0415}, {"cs_CZ", 0x0405},
    {"hu_HU", 0x040E}, {"ja_JP", 0x0411}, {"ko_KR", 0x0412}, {"zh_TW", 0x0404}, {"zh_CN", 0x0804},
    {"ru_RU", 0x0419}, {"tr_TR", 0x041F},
};

constexpr unsigned kEnglishUs = 0x0409;
constexpr const char* kLanguageSection = "Language";

std::string LanguageName(const std::string& lngFile, const std::string& key) {
  return platform::ReadProfileString(lngFile, kLanguageSection, key, "");
}

// Return ends a dialog as its focused button or else as OK, Escape as Cancel:
// the keys reach the dialog when its list or a button leaves them unused.
class DialogKeys : public QObject {
 public:
  DialogKeys(QPushButton* cancel, std::function<void(int)> end)
      : cancel_(cancel), end_(std::move(end)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) {
      end_(2);
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      end_(static_cast<QWidget*>(watched)->focusWidget() == cancel_ ? 2 : 1);
    } else {
      return false;
    }
    return true;
  }

 private:
  QPushButton* cancel_;
  std::function<void(int)> end_;
};

}  // namespace

std::string LanguageKey(unsigned id) {
  char text[16];
  std::snprintf(text, sizeof text, "%04X", id);
  return text;
}

unsigned ReadHex(const std::string& text) {
  return static_cast<unsigned>(std::strtoul(text.c_str(), nullptr, 16));
}

unsigned LanguageIdOfLocale(const std::string& locale) {
  const std::string name = locale.substr(0, locale.find_first_of(".@"));
  const std::string language = name.substr(0, name.find('_'));
  for (const LocaleId& l : kLocales) {
    if (name == l.name) return l.id;
  }
  for (const LocaleId& l : kLocales) {
    if (language == std::string(l.name).substr(0, 2)) return l.id;
  }
  return kEnglishUs;
}

unsigned UserDefaultLanguage() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return LanguageIdOfLocale(value);
  }
  return kEnglishUs;
}

std::string ChooseLanguageKey(const std::string& lngFile, unsigned& id, unsigned fallback) {
  std::string key = LanguageKey(id);
  if (!LanguageName(lngFile, key).empty()) return key;
  if (id != fallback && ((id >> 8) & 0xFB) != 0) {
    id &= 0x4FF;
    key = LanguageKey(id);
    if (!LanguageName(lngFile, key).empty()) return key;
  }
  if (fallback != 0) {
    id = fallback;
    return LanguageKey(id);
  }
  const std::vector<std::string> keys = platform::ProfileKeys(lngFile, kLanguageSection);
  if (!keys.empty()) {
    key = keys.front();
    id = ReadHex(key);
  }
  return key;
}

int RunLanguageDialog(LanguageLibrary& library, const std::string& lngFile, std::string& key) {
  const BootDialog* description = library.Dialog(setup::kLanguageDialog);
  if (!description) return -1;
  QWidget dialog(nullptr, Qt::Dialog);
  dialog.setObjectName("LanguageDlg");
  std::map<int, QWidget*> controls = BuildDialog(dialog, *description);
  auto* list = qobject_cast<QListWidget*>(controls[setup::kIdText]);
  auto* ok = qobject_cast<QPushButton*>(controls[1]);
  auto* cancel = qobject_cast<QPushButton*>(controls[2]);
  if (!list || !ok || !cancel) return -1;

  // LanguageDlgProc: the names in the current language, else from [Language].
  const std::string localSection = "Language (" + key + ")";
  for (const std::string& k : platform::ProfileKeys(lngFile, kLanguageSection)) {
    std::string name = platform::ReadProfileString(lngFile, localSection, k, "");
    if (name.empty()) name = LanguageName(lngFile, k);
    if (name.empty()) continue;
    auto* item = new QListWidgetItem(QString::fromUtf8(name), list);
    item->setData(Qt::UserRole, ReadHex(k));
    if (ReadHex(k) == ReadHex(key)) list->setCurrentItem(item);
  }
  int result = 2;  // closing the window cancels
  auto end = [&](int code) {
    result = code;
    if (QListWidgetItem* selected = list->currentItem(); selected && selected->isSelected()) {
      key = LanguageKey(selected->data(Qt::UserRole).toUInt());
    }
    dialog.hide();
  };
  QObject::connect(ok, &QPushButton::clicked, &dialog, [&] { end(1); });
  QObject::connect(cancel, &QPushButton::clicked, &dialog, [&] { end(2); });
  QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, [&] { end(1); });
  DialogKeys keys(cancel, end);
  dialog.installEventFilter(&keys);
  CentreOnScreen(dialog);
  platform::RunModalForm(dialog);
  return result;
}

}  // namespace vanstall
