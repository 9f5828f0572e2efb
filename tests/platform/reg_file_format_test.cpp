#include "platform/posix/reg_file_format.h"

#include <gtest/gtest.h>

namespace tramox::platform {
namespace {

std::string errorOf(const std::string& text, Hive hive = Hive::CurrentUser) {
  try {
    parseRegFile(text, hive, "/home/u/HKCU.reg");
  } catch (const RegistryError& e) {
    return e.what();
  }
  return "(parsed)";
}

const std::string kHeader = "Windows Registry Editor Version 5.00\n";

TEST(RegFileFormat, WritesTheLayoutOfARegeditExport) {
  RegistryTree tree;
  tree.setValue("SOFTWARE\\TRAMOX", "Latitude",
                RegistryValue::ofBinary({0x9a, 0x99, 0x99, 0x99, 0x99, 0x99, 0xe9, 0x3f}));
  tree.setValue("SOFTWARE\\TRAMOX", "LogEnabled", RegistryValue::ofDword(10));
  tree.setValue("SOFTWARE\\TRAMOX", "", RegistryValue::ofString("C:\\x \"y\""));

  EXPECT_EQ(formatRegFile(tree, Hive::CurrentUser),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_CURRENT_USER\\SOFTWARE]\n"
            "\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\TRAMOX]\n"
            "\"Latitude\"=hex:9a,99,99,99,99,99,e9,3f\n"
            "\"LogEnabled\"=dword:0000000a\n"
            "@=\"C:\\\\x \\\"y\\\"\"\n");
}

TEST(RegFileFormat, OddNamesAndTextsSurviveTheRoundTrip) {
  RegistryTree tree;
  const std::string key = "Software\\Odd ]Key [x]\\with=equals and \"quotes\"";
  const std::vector<std::pair<std::string, RegistryValue>> values = {
      {"", RegistryValue::ofString("")},
      {"@", RegistryValue::ofString("at sign as a name")},
      {"a\"b\\c", RegistryValue::ofString("ends with a backslash\\")},
      {"=hex:00", RegistryValue::ofDword(0xFFFFFFFFu)},
      {"; not a comment", RegistryValue::ofBinary({})},
      {"accents é ü 星", RegistryValue::ofString("multi\nline\r\ttext é 星 😀")},
      {"trailing backslash\\", RegistryValue::ofBinary({0, 255, 16})},
  };
  for (const auto& [name, value] : values) {
    tree.setValue(key, name, value);
  }

  RegistryTree back =
      parseRegFile(formatRegFile(tree, Hive::LocalMachine), Hive::LocalMachine, "HKLM.reg");
  ASSERT_TRUE(back.hasKey(key));
  for (const auto& [name, value] : values) {
    EXPECT_EQ(back.value(key, name), value) << name;
  }
  EXPECT_EQ(back.keys().back()->path, key);
}

TEST(RegFileFormat, ReadsWhatRegeditAndEditorsProduce) {
  const std::string text =
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; exported by hand\r\n"
      "[HKEY_CURRENT_USER]\r\n"
      "[hkey_current_user\\Software\\TRAMOX]\r\n"
      "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0A,0B,0C,0D,0E,0F,10,11,12,13,14,15,16,\\\r\n"
      "  17,18\r\n"
      "\"Small\"=dword:A\r\n"
      "\"Text\"=hex(1):41,00,0a,00,42,00,00,00\r\n";
  RegistryTree tree = parseRegFile(text, Hive::CurrentUser, "HKCU.reg");
  auto blob = tree.value("SOFTWARE\\TRAMOX", "blob");
  ASSERT_TRUE(blob);
  ASSERT_EQ(blob->bytes.size(), 25u);
  EXPECT_EQ(blob->bytes[10], 0x0A);
  EXPECT_EQ(blob->bytes[24], 0x18);
  EXPECT_EQ(tree.value("SOFTWARE\\TRAMOX", "Small"), RegistryValue::ofDword(10));
  EXPECT_EQ(tree.value("SOFTWARE\\TRAMOX", "Text"), RegistryValue::ofString("A\nB"));
  EXPECT_EQ(parseRegFile("", Hive::CurrentUser, "HKCU.reg").keys().size(), 0u);
}

TEST(RegFileFormat, AnythingItCannotReadExactlyNamesTheFileAndLine) {
  EXPECT_EQ(errorOf("REGEDIT4\n"),
            "/home/u/HKCU.reg:1: expected the header \"Windows Registry Editor Version 5.00\"");
  EXPECT_EQ(errorOf("\n\n"),
            "/home/u/HKCU.reg:1: expected the header \"Windows Registry Editor Version 5.00\"");
  EXPECT_EQ(errorOf(kHeader + "\"x\"=dword:1\n"), "/home/u/HKCU.reg:2: value before the first key");
  EXPECT_EQ(errorOf(kHeader + "[HKEY_LOCAL_MACHINE\\A]\n"),
            "/home/u/HKCU.reg:2: key outside HKEY_CURRENT_USER");
  EXPECT_EQ(errorOf(kHeader + "[HKEY_CURRENT_USER\\A\n"),
            "/home/u/HKCU.reg:2: key line without a closing ']'");

  const std::string key = kHeader + "\n[HKEY_CURRENT_USER\\A]\n";
  EXPECT_EQ(errorOf(key + "\"x\"=dword:123456789\n"),
            "/home/u/HKCU.reg:4: dword needs 1 to 8 hex digits");
  EXPECT_EQ(errorOf(key + "\"x\"=dword:12g4\n"), "/home/u/HKCU.reg:4: bad hex digit in a dword");
  EXPECT_EQ(errorOf(key + "\"x\"=hex(2):41,00,00,00\n"),
            "/home/u/HKCU.reg:4: unsupported value data 'hex(2):41,00,00,00'");
  EXPECT_EQ(errorOf(key + "\"x\"=-\n"), "/home/u/HKCU.reg:4: unsupported value data '-'");
  EXPECT_EQ(errorOf(key + "\"x\"=hex:1,02\n"), "/home/u/HKCU.reg:4: bad byte '1' in a hex list");
  EXPECT_EQ(errorOf(key + "\"x\"=hex:01,\n"), "/home/u/HKCU.reg:4: hex list ends with a comma");
  EXPECT_EQ(errorOf(key + "\"x=dword:1\n"), "/home/u/HKCU.reg:4: unterminated quoted string");
  EXPECT_EQ(errorOf(key + "\"x\"=\"a\"b\n"), "/home/u/HKCU.reg:4: text after a quoted string");
  EXPECT_EQ(errorOf(key + "\"x\\n\"=\"a\"\n"),
            "/home/u/HKCU.reg:4: unknown escape in a quoted string");
  EXPECT_EQ(errorOf(key + "x=dword:1\n"), "/home/u/HKCU.reg:4: expected a key, a value name or @");
  EXPECT_EQ(errorOf(key + "\"ok\"=dword:1\n\"x\"=hex:01,\\\n  zz\n"),
            "/home/u/HKCU.reg:6: bad byte 'zz' in a hex list");
  EXPECT_EQ(errorOf(key + "\"x\"=hex:01,\\\n"),
            "/home/u/HKCU.reg:4: file ends inside a continued hex list");
}

TEST(RegFileFormat, TheRegistrysOwnLimitsAreParseErrors) {
  auto deep = [](int levels) {
    std::string path = "[HKEY_CURRENT_USER";
    for (int i = 0; i < levels; ++i) {
      path += "\\a";
    }
    return kHeader + path + "]\n";
  };
  const std::string key = kHeader + "[HKEY_CURRENT_USER\\A]\n";
  struct Case {
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {deep(512), "(parsed)"},
      {deep(513), "/home/u/HKCU.reg:2: Clé à plus de 512 niveaux"},
      {deep(16000), "/home/u/HKCU.reg:2: Clé à plus de 512 niveaux"},
      {kHeader + "[HKEY_CURRENT_USER\\" + std::string(255, 'k') + "]\n", "(parsed)"},
      {kHeader + "[HKEY_CURRENT_USER\\A\\" + std::string(256, 'k') + "]\n",
       "/home/u/HKCU.reg:2: Nom de clé de plus de 255 caractères"},
      {key + "\"" + std::string(16383, 'v') + "\"=dword:1\n", "(parsed)"},
      {key + "\"" + std::string(16384, 'v') + "\"=dword:1\n",
       "/home/u/HKCU.reg:3: Nom de valeur de plus de 16383 caractères"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(errorOf(c.text), c.error) << c.text.substr(0, 80);
  }
}

}  // namespace
}  // namespace tramox::platform
