#include "platform/shortcuts/desktop_entry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace vistrel {
namespace {

namespace fs = std::filesystem;

// Reads an Exec value back the way launchers do: string escapes first,
// then "%%", then the quoting rules. Fails on any other field code.
std::vector<std::string> ParseExec(const std::string& value) {
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      const char c = value[++i];
      text += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    } else {
      text += value[i];
    }
  }
  std::string unfielded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%') {
      EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '%') << "field code in " << value;
      ++i;
    }
    unfielded += text[i];
  }
  std::vector<std::string> args;
  std::string current;
  bool quoted = false, in_arg = false;
  for (std::size_t i = 0; i < unfielded.size(); ++i) {
    const char c = unfielded[i];
    if (quoted) {
      if (c == '\\' && i + 1 < unfielded.size() &&
          std::string_view("\"`$\\").find(unfielded[i + 1]) != std::string_view::npos) {
        current += unfielded[++i];
      } else if (c == '"') {
        quoted = false;
      } else {
        EXPECT_TRUE(c != '`' && c != '$' && c != '\\') << "unescaped " << c << " in " << value;
        current += c;
      }
    } else if (c == '"') {
      quoted = in_arg = true;
    } else if (c == ' ') {
      if (in_arg) args.push_back(current);
      current.clear();
      in_arg = false;
    } else {
      current += c;
      in_arg = true;
    }
  }
  EXPECT_FALSE(quoted) << "open quote in " << value;
  if (in_arg) args.push_back(current);
  return args;
}

std::string EntryValue(const std::string& entry, const std::string& key) {
  std::istringstream lines(entry);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  ADD_FAILURE() << key << " missing in " << entry;
  return {};
}

class ShortcutFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/vistrel-shortcuts-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    root_ = name;
  }
  void TearDown() override { fs::remove_all(root_); }
  std::string root_;
};

TEST(ExecQuoting, AwkwardProgramPathsReadBackUnchanged) {
  for (const std::string path :
       {"/usr/bin/vistrel-pro", "/home/ann/My Programs/vistrel-pro", "/opt/100% sure/vistrel-pro",
        "/opt/say \"hi\"/vistrel-pro", "/opt/$HOME/vistrel-pro", "/opt/back\\slash/vistrel-pro",
        "/opt/`touch x`/vistrel-pro", "/opt/%f %u %%/v", "/opt/mixed $`\"\\% 'q'/v"}) {
    const std::string entry = DesktopEntryText(path, "/opt/");
    EXPECT_EQ(ParseExec(EntryValue(entry, "Exec")), std::vector<std::string>{path}) << entry;
  }
}

TEST(ExecQuoting, TheStringLevelDoublesTheQuotingBackslashes) {
  // As the desktop entry rules write them: a literal backslash in a quoted
  // argument is four backslashes, a dollar sign two and the sign.
  EXPECT_EQ(EntryValue(DesktopEntryText("/a\\b", "/"), "Exec"), "\"/a\\\\\\\\b\"");
  EXPECT_EQ(EntryValue(DesktopEntryText("/a$b", "/"), "Exec"), "\"/a\\\\$b\"");
  EXPECT_EQ(EntryValue(DesktopEntryText("/a%b", "/"), "Exec"), "\"/a%%b\"");
}

TEST(DesktopEntry, NamesTheProgramAndItsFolder) {
  const std::string entry = DesktopEntryText("/opt/Vistrel Pro/vistrel-pro", "/opt/Vistrel Pro/");
  EXPECT_EQ(entry.substr(0, entry.find('\n')), "[Desktop Entry]");
  EXPECT_EQ(EntryValue(entry, "Type"), "Application");
  EXPECT_EQ(EntryValue(entry, "Name"), "Vistrel-Pro");
  EXPECT_EQ(EntryValue(entry, "Path"), "/opt/Vistrel Pro/");
  EXPECT_EQ(entry.find("Icon="), std::string::npos);
  EXPECT_EQ(EntryValue(DesktopEntryText("/p/bin/vistrel-pro", "/p/bin/", "/p/share/a\\b.svg"), "Icon"),
            "/p/share/a\\\\b.svg");
  EXPECT_EQ(EscapeEntryValue(" lead\\in\n"), "\\slead\\\\in\\n");
}

TEST(ShortcutFolders, XdgVariablesThenTheHomeDefaults) {
  TXdgEnvironment env{"/home/ann", "/data", "/config", std::string("/home/ann/Schreibtisch\n")};
  EXPECT_EQ(ShortcutFolderPath(TShortcutFolder::Desktop, env), "/home/ann/Schreibtisch");
  EXPECT_EQ(ShortcutFolderPath(TShortcutFolder::StartMenu, env), "/data/applications");
  EXPECT_EQ(ShortcutFolderPath(TShortcutFolder::Startup, env), "/config/autostart");
  env = {"/home/ann", "", "relative/config", std::nullopt};
  EXPECT_EQ(ShortcutFolderPath(TShortcutFolder::Desktop, env), "/home/ann/Desktop");
  EXPECT_EQ(ShortcutFolderPath(TShortcutFolder::StartMenu, env),
            "/home/ann/.local/share/applications");
  EXPECT_EQ(ShortcutFolderPath(TShortcutFolder::Startup, env), "/home/ann/.config/autostart");
}

TEST(ShortcutFolders, NoFolderRatherThanTheCurrentOne) {
  const TXdgEnvironment env{"", "", "", std::string("")};
  for (TShortcutFolder f :
       {TShortcutFolder::Desktop, TShortcutFolder::StartMenu, TShortcutFolder::Startup})
    EXPECT_EQ(ShortcutFolderPath(f, env), "");
  EXPECT_EQ(ShortcutFolderPath(TShortcutFolder::Desktop, {"", "", "", std::string("Desktop")}), "");
}

TEST_F(ShortcutFiles, WrittenIntoATemporaryXdgEnvironmentAndRemoved) {
  const TXdgEnvironment env{root_, root_ + "/data", root_ + "/config", std::nullopt};
  const std::string program = root_ + "/my apps/vistrel-pro";
  for (TShortcutFolder f :
       {TShortcutFolder::Desktop, TShortcutFolder::StartMenu, TShortcutFolder::Startup}) {
    const std::string folder = ShortcutFolderPath(f, env);
    const std::string path = folder + "/" + kShortcutFileName;
    std::string error;
    ASSERT_TRUE(EnsureFolder(folder, error)) << error;
    EXPECT_FALSE(ShortcutExists(path));
    ASSERT_TRUE(WriteDesktopEntry(path, DesktopEntryText(program, root_ + "/my apps/"), error))
        << error;
    EXPECT_TRUE(ShortcutExists(path));
    std::ifstream in(path);
    const std::string written((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(ParseExec(EntryValue(written, "Exec")), std::vector<std::string>{program});
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    ASSERT_TRUE(RemoveShortcut(path, error)) << error;
    EXPECT_FALSE(ShortcutExists(path));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 0)
        << "temporary file left in " << folder;
  }
  EXPECT_TRUE(fs::is_directory(root_ + "/data/applications"));
  EXPECT_TRUE(fs::is_directory(root_ + "/config/autostart"));
}

TEST_F(ShortcutFiles, FailuresComeBackWithAReason) {
  std::string error;
  std::ofstream(root_ + "/file") << "x";
  EXPECT_FALSE(EnsureFolder(root_ + "/file/below", error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(EnsureFolder(root_ + "/file", error));
  EXPECT_FALSE(error.empty());

  // A folder where the entry should be: neither replaced nor removed.
  const std::string in_the_way = root_ + "/" + kShortcutFileName;
  fs::create_directory(in_the_way);
  error.clear();
  EXPECT_FALSE(WriteDesktopEntry(in_the_way, "[Desktop Entry]\n", error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(RemoveShortcut(in_the_way, error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::is_directory(in_the_way));
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 2);

  error.clear();
  EXPECT_FALSE(WriteDesktopEntry(root_ + "/missing/" + kShortcutFileName, "x", error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(RemoveShortcut(root_ + "/gone.desktop", error));
  EXPECT_FALSE(error.empty());
}

TEST_F(ShortcutFiles, EntriesForAwkwardPathsPassTheDesktopEntryValidator) {
  if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "desktop-file-validate is not installed";
  const std::string folder = root_ + "/100% \"odd\" $dir `x` \\";
  const std::string path = root_ + "/" + kShortcutFileName;
  std::string error;
  ASSERT_TRUE(
      WriteDesktopEntry(path, DesktopEntryText(folder + "/vistrel-pro", folder + "/",
                                               folder + "/vistrel.svg"),
                        error));
  const std::string command = "desktop-file-validate '" + path + "' > '" + root_ + "/out' 2>&1";
  const int status = std::system(command.c_str());
  std::ifstream out(root_ + "/out");
  const std::string said((std::istreambuf_iterator<char>(out)), {});
  EXPECT_EQ(status, 0) << said;
  EXPECT_EQ(said.find("error"), std::string::npos) << said;
}

}  // namespace
}  // namespace vistrel
