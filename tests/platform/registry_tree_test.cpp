#include "platform/registry_tree.h"

#include <gtest/gtest.h>

namespace tramox::platform {
namespace {

std::vector<std::string> pathsOf(const RegistryTree& tree) {
  std::vector<std::string> paths;
  for (const auto* key : tree.keys()) {
    paths.push_back(key->path);
  }
  return paths;
}

TEST(RegistryTree, KeysAndValuesCompareCaseInsensitivelyAndKeepTheirFirstSpelling) {
  RegistryTree tree;
  tree.setValue("SOFTWARE\\TRAMOX", "LogEnabled", RegistryValue::ofDword(1));
  tree.setValue("software\\tramox", "LOGENABLED", RegistryValue::ofDword(0));

  EXPECT_TRUE(tree.hasKey("Software\\Tramox"));
  EXPECT_EQ(tree.value("SOFTWARE\\TRAMOX", "logenabled"), RegistryValue::ofDword(0));
  EXPECT_EQ(pathsOf(tree), (std::vector<std::string>{"SOFTWARE", "SOFTWARE\\TRAMOX"}));
  ASSERT_EQ(tree.keys()[1]->values.size(), 1u);
  EXPECT_EQ(tree.keys()[1]->values[0].name, "LogEnabled");
}

TEST(RegistryTree, PathsIgnoreOuterBackslashesAndRejectEmptyOrControlComponents) {
  RegistryTree tree;
  tree.createKey("\\A\\B\\");
  EXPECT_TRUE(tree.hasKey("A\\B"));
  EXPECT_TRUE(tree.hasKey(""));
  EXPECT_THROW(tree.createKey("A\\\\B"), RegistryError);
  EXPECT_THROW(tree.createKey("A\nB"), RegistryError);
  EXPECT_THROW(tree.setValue("A", "line\nbreak", RegistryValue::ofDword(1)), RegistryError);
  EXPECT_THROW(tree.setValue("", "atRoot", RegistryValue::ofDword(1)), RegistryError);
}

TEST(RegistryTree, DeletingAKeyWithSubkeysFailsButSiblingsDoNotCount) {
  RegistryTree tree;
  tree.createKey("A\\Child");
  tree.createKey("A B");  // sorts between "A" and "A\Child"
  tree.createKey("AB\\C");

  EXPECT_THROW(tree.deleteKey("a"), RegistryError);
  EXPECT_TRUE(tree.deleteKey("A\\CHILD"));
  EXPECT_TRUE(tree.deleteKey("A"));
  EXPECT_FALSE(tree.deleteKey("A"));
  EXPECT_TRUE(tree.hasKey("A B"));
  EXPECT_TRUE(tree.hasKey("AB\\C"));
}

TEST(RegistryTree, DefaultValueAndDeletion) {
  RegistryTree tree;
  tree.setValue("CLSID\\{X}", "", RegistryValue::ofString("TRAMOX.Telescope"));
  tree.setValue("CLSID\\{X}", "ThreadingModel", RegistryValue::ofString("Apartment"));
  EXPECT_EQ(tree.value("CLSID\\{X}", ""), RegistryValue::ofString("TRAMOX.Telescope"));
  EXPECT_TRUE(tree.deleteValue("clsid\\{x}", "THREADINGMODEL"));
  EXPECT_FALSE(tree.deleteValue("clsid\\{x}", "ThreadingModel"));
  EXPECT_FALSE(tree.deleteValue("Missing", "x"));
  EXPECT_EQ(tree.value("Missing", ""), std::nullopt);
}

}  // namespace
}  // namespace tramox::platform
