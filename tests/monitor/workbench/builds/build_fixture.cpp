#include "build_fixture.h"

#include <unistd.h>

#include <QTest>
#include <atomic>
#include <thread>

#include "platform/link_client.h"
#include "wait_until.h"
#include "workbench/build_command.h"

namespace buildtest {

BuildTest::BuildTest() {
  monitor::BindBuilds(bench);
}

monitor::BuildOut* BuildTest::Out() const {
  return dynamic_cast<monitor::BuildOut*>(state.Forms.Get("BuildOut"));
}

monitor::BuildOut* BuildTest::LoadOut() {
  return dynamic_cast<monitor::BuildOut*>(state.Forms.Load("BuildOut"));
}

Rows BuildTest::Lines() const {
  Rows lines;
  if (Out() != nullptr)
    for (const QString& line : Out()->Lines()) lines.push_back(line.toStdString());
  return lines;
}

void BuildTest::DoubleClick(int row) {
  QListWidget* list = Out()->ErrorList;
  const QPoint at = list->visualItemRect(list->item(row)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void BuildTest::Enter(int row) {
  Out()->ErrorList->setCurrentRow(row);
  QTest::keyClick(Out()->ErrorList, Qt::Key_Return);
}

std::vector<bool> BuildTest::Poke(const Rows& lines, const std::string& item) {
  std::vector<bool> results;
  std::atomic<bool> done{false};
  std::thread client([&] {
    platform::LinkClient link;
    if (link.Open("TAVIX", "BuildOut", item, 50))
      for (const std::string& line : lines) results.push_back(link.Poke(line));
    link.Close();
    done = true;
  });
  EXPECT_TRUE(testsupport::WaitUntil([&] { return done.load(); }, 10000));
  client.join();
  testsupport::WaitUntil([&] { return Out() == nullptr || Out()->Conversations() == 0; }, 2000);
  return results;
}

void BuildTest::InstallAssembler() {
  for (const char* name : {"K42xxasm", "condirec.ini", "instruct.ini", "directiv.ini",
                           "operator.ini", "K42XXDIS.so", "TAVIX.INI"}) {
    const std::string from = std::string(TAVIX_DIST_DIR) + name;
    ASSERT_EQ(symlink(from.c_str(), program.file(name).c_str()), 0) << from;
  }
}

void BuildTest::WaitForBuild() {
  auto finished = [this] {
    if (Out() == nullptr || Out()->Conversations() != 0) return false;
    for (const std::string& line : Lines())
      if (line.size() > 7 && line.substr(line.size() - 7) == " Errors") return true;
    return false;
  };
  if (testsupport::WaitUntil(finished, 10000)) return;
  std::string list;
  for (const std::string& line : Lines()) list += "\n  " + line;
  ADD_FAILURE() << "no finished build in the list:" << list;
}

}  // namespace buildtest
