// Tests for the zun-value tool: runs the built program beside this test on
// files and standard input, and checks exit status, output and error text.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ZunValueTest : public testing::Test {
 protected:
  void SetUp() override {
    tool_ = fs::read_symlink("/proc/self/exe").parent_path() / "zun-value";
    ASSERT_TRUE(fs::exists(tool_)) << tool_;
    dir_ = fs::temp_directory_path() / ("zun_value_test_" + std::to_string(getpid()));
    fs::create_directories(dir_);
    // A 32-bit build tested under user-mode emulation cannot exec the tool
    // directly (126: exec format error); then the emulator launches it.
    if (Execute("", "--help").status == 126) launcher_ = "qemu-i386 -L / ";
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the tool with `arguments` (shell words); `input` is written to the
  // file "input" in the scratch folder, which the arguments may name or
  // redirect from.
  ToolRun Execute(const std::string& input, const std::string& arguments) {
    std::ofstream(dir_ / "input", std::ios::binary) << input;
    const std::string command = "cd '" + dir_.string() + "' && " + launcher_ + "'" + tool_.string() + "' " + arguments +
                                " >out 2>err";
    const int status = std::system(command.c_str());
    return ToolRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir_ / "out"), ReadFile(dir_ / "err")};
  }

  fs::path tool_;
  fs::path dir_;
  std::string launcher_;
};

TEST_F(ZunValueTest, PrintsTheCanonicalTextOfEachFormat) {
  struct Row {
    std::string input;
    const char* arguments;
    const char* expected;
  };
  const Row rows[] = {
      {R"({"b":[1,-2,1.5],"a":"x"})", "--format json input", "{\"a\":\"x\",\"b\":[u:1,i:-2,f:1.5]}\n"},
      {std::string("[1]\0[2", 6), "--format json input", "[u:1]\n"},
      {"a: 1\nb: [true, ~]\n", "--format yaml input", "{\"a\":u:1,\"b\":[true,null]}\n"},
      {std::string("\x82\xA1k\xC4\x02\x00\xFF\xA1j\xCB\x7F\xF0\0\0\0\0\0\0", 18), "--format=msgpack input",
       "{\"j\":f:inf,\"k\":b:AP8=}\n"},
      {"", "--format msgpack input", "null\n"},
      {"[1,2]", "< input", "[u:1,u:2]\n"},
      {"  {\"a\":{}}", "input", "{\"a\":{}}\n"},
      {std::string("\x92\x01\x02\x03", 4), "input", "[i:1,i:2]\n"},
      {"--- [a, 1]", "--format sniff input", "[\"a\",u:1]\n"},
      {"plain \"text\"\n", "-", "\"plain \\\"text\\\"\\n\"\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.arguments + (" on " + row.input));
    const std::string arguments = std::string(row.arguments) == "-" ? "- < input" : row.arguments;
    const ToolRun run = Execute(row.input, arguments);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, row.expected);
    EXPECT_EQ(run.err, "");
  }
}

TEST_F(ZunValueTest, FailedDecodesExitWithOneAndTheReadersMessage) {
  struct Row {
    std::string input;
    const char* arguments;
    const char* expected;
  };
  const Row rows[] = {
      {"[1,]", "--format json input", "error: Error: Invalid value. at offset 3.\n"},
      {"{bad", "input", "error: Error: Missing a name for object member. at offset 1.\n"},
      {std::string("\x01\x02", 2), "--format msgpack input", "error: Extra MessgePack data found in body\n"},
      {std::string("\x81\x01\x02", 3), "input",
       "error: Invalid MessagePack data at position 2. Map keys must be strings.\n"},
      {std::string(513, '['), "--format json input",
       "error: Error: Nesting is deeper than the limit of 512 levels. at offset 513.\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.arguments);
    const ToolRun run = Execute(row.input, row.arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, row.expected);
  }
  const ToolRun yaml = Execute("a: [1\n", "--format yaml input");
  EXPECT_EQ(yaml.status, 1);
  EXPECT_TRUE(yaml.err.starts_with("error: ")) << yaml.err;
}

TEST_F(ZunValueTest, UsageErrorsExitWithTwo) {
  for (const char* arguments : {"--format", "--format xml input", "--verbose input", "input input",
                                "missing-file"}) {
    SCOPED_TRACE(arguments);
    const ToolRun run = Execute("1", arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err, "");
  }
  const ToolRun help = Execute("", "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("usage: zun-value")) << help.out;
}

}  // namespace
