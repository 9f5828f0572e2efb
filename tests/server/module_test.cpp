// The TRAMOX module as a client sees it: loaded by path, entry points by name.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/posix/reg_file_registry.h"
#include "server/portable/client_runtime.h"

namespace tramox::server::portable {
namespace {

class ModuleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    home =
        std::filesystem::temp_directory_path() / ("tramox-module-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(home);
    setenv("TRAMOX_HOME", home.c_str(), 1);
    setenv("TRAMOX_CONTROLLER", TRAMOX_SIMULATOR_FILE, 1);
    handle = dlopen(TRAMOX_MODULE_FILE, RTLD_NOW | RTLD_LOCAL);
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(home); }

  template <class Fn>
  static Fn entry(const char* name) {
    return reinterpret_cast<Fn>(dlsym(handle, name));
  }

  static inline std::filesystem::path home;
  static inline void* handle = nullptr;
};

TEST_F(ModuleTest, ExportsTheServerFunctions) {
  ASSERT_NE(handle, nullptr) << dlerror();
  for (const char* name : {kDllGetClassObject, kDllCanUnloadNow, kDllRegisterServer,
                           kDllUnregisterServer, kTramoxSetHostServices}) {
    EXPECT_NE(dlsym(handle, name), nullptr) << name;
  }
}

TEST_F(ModuleTest, UnknownClassGivesClassNotAvailableAndNull) {
  auto get = entry<DllGetClassObjectFn>(kDllGetClassObject);
  ASSERT_NE(get, nullptr);
  void* object = reinterpret_cast<void*>(0x1);
  const Guid unknown = makeGuid("11111111-2222-3333-4444-555555555555");
  EXPECT_EQ(get(&unknown, &kIidIClassFactory, &object), status::kClassNotAvailable);
  EXPECT_EQ(object, nullptr);
  object = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(get(&rateClass().clsid, &kIidIDispatch, &object), status::kNoInterface);
  EXPECT_EQ(object, nullptr);
}

TEST_F(ModuleTest, CanUnloadFollowsLiveObjectsAndLocks) {
  auto get = entry<DllGetClassObjectFn>(kDllGetClassObject);
  auto canUnload = entry<DllCanUnloadNowFn>(kDllCanUnloadNow);
  ASSERT_TRUE(get && canUnload);
  EXPECT_EQ(canUnload(), status::kOk);
  ComRef<IClassFactory> factory;
  ASSERT_EQ(get(&ratesClass().clsid, &kIidIClassFactory, reinterpret_cast<void**>(factory.out())),
            status::kOk);
  EXPECT_EQ(canUnload(), status::kOk);  // a factory reference alone does not hold the module
  ComRef<IDispatch> rates;
  ASSERT_EQ(factory->CreateInstance(nullptr, kIidIDispatch, reinterpret_cast<void**>(rates.out())),
            status::kOk);
  EXPECT_EQ(invokeByName(*rates.get(), "Count", kDispatchPropertyGet, {}).value.int32Value(), 0);
  auto item = invokeByName(*rates.get(), "Item", kDispatchPropertyGet, {Variant::ofInt32(1)});
  rates.reset();
  EXPECT_EQ(canUnload(), status::kFalse);  // the Rate it handed out still lives
  item.value = Variant();
  EXPECT_EQ(canUnload(), status::kOk);
  factory->LockServer(true);
  EXPECT_EQ(canUnload(), status::kFalse);
  factory->LockServer(false);
  factory->LockServer(false);  // one unlock too many must not wedge the count
  EXPECT_EQ(canUnload(), status::kOk);
  ComRef<IUnknown> viaUnknown;
  EXPECT_EQ(factory->CreateInstance(nullptr, ratesInterface().iid,
                                    reinterpret_cast<void**>(viaUnknown.out())),
            status::kOk);
  EXPECT_EQ(factory->CreateInstance(nullptr, kIidIClassFactory,
                                    reinterpret_cast<void**>(viaUnknown.out())),
            status::kNoInterface);
  viaUnknown.reset();
  EXPECT_EQ(canUnload(), status::kOk);
}

TEST_F(ModuleTest, ARatesCollectionMadeByItsFactoryLogsItsItems) {
  platform::RegFileRegistry registry(home.string());
  registry.writeValue(platform::Hive::CurrentUser, "SOFTWARE\\TRAMOX", "LogEnabled",
                      platform::RegistryValue::ofDword(1));
  auto get = entry<DllGetClassObjectFn>(kDllGetClassObject);
  ASSERT_NE(get, nullptr);
  ComRef<IClassFactory> factory;
  ASSERT_EQ(get(&ratesClass().clsid, &kIidIClassFactory, reinterpret_cast<void**>(factory.out())),
            status::kOk);
  ComRef<IDispatch> rates;
  ASSERT_EQ(factory->CreateInstance(nullptr, kIidIDispatch, reinterpret_cast<void**>(rates.out())),
            status::kOk);
  auto item = invokeByName(*rates.get(), "Item", kDispatchPropertyGet, {Variant::ofInt32(2)});
  registry.writeValue(platform::Hive::CurrentUser, "SOFTWARE\\TRAMOX", "LogEnabled",
                      platform::RegistryValue::ofDword(0));
  EXPECT_EQ(item.hr, status::kOk);
  std::stringstream log;
  log << std::ifstream(home / "TRAMO_DLL.log").rdbuf();
  EXPECT_NE(log.str().find(" :Get_Item index 2=0\r\n"), std::string::npos) << log.str();
}

TEST_F(ModuleTest, RegistrationRoundTripsThroughTheClassesRootFile) {
  auto reg = entry<DllRegisterServerFn>(kDllRegisterServer);
  auto unreg = entry<DllUnregisterServerFn>(kDllUnregisterServer);
  ASSERT_TRUE(reg && unreg);
  ASSERT_EQ(reg(), status::kOk);
  platform::RegFileRegistry registry(home.string());
  ClientRuntime runtime(registry, {});
  Guid clsid;
  ASSERT_EQ(runtime.classIdFromProgId("TRAMOX.Telescope", clsid), status::kOk);
  EXPECT_EQ(clsid, telescopeClass().clsid);
  const auto module = registry.readValue(
      platform::Hive::ClassesRoot, "CLSID\\" + toRegistryString(clsid) + "\\InprocServer32", "");
  ASSERT_TRUE(module);
  EXPECT_TRUE(std::filesystem::equivalent(module->text, TRAMOX_MODULE_FILE));
  // Through the client side: identifier -> class -> module -> factory -> object.
  ComRef<IDispatch> rate;
  ASSERT_EQ(runtime.createObject("TRAMOX.Rate", rate), status::kOk);
  EXPECT_EQ(invokeByName(*rate.get(), "Minimum", kDispatchPropertyPut, {Variant::ofText("1.5")}).hr,
            status::kOk);
  EXPECT_EQ(invokeByName(*rate.get(), "minimum", kDispatchPropertyGet, {}).value.doubleValue(),
            1.5);
  rate.reset();

  std::stringstream once;
  once << std::ifstream(home / "HKCR.reg").rdbuf();
  ASSERT_EQ(reg(), status::kOk);
  std::stringstream twice;
  twice << std::ifstream(home / "HKCR.reg").rdbuf();
  EXPECT_EQ(once.str(), twice.str());
  ASSERT_EQ(unreg(), status::kOk);
  EXPECT_NE(runtime.classIdFromProgId("TRAMOX.Telescope", clsid), status::kOk);
  EXPECT_FALSE(registry.keyExists(platform::Hive::ClassesRoot, "TRAMOX.Rate"));
  EXPECT_FALSE(registry.keyExists(platform::Hive::ClassesRoot,
                                  "CLSID\\" + toRegistryString(rateClass().clsid)));
  ComRef<IDispatch> none;
  EXPECT_EQ(runtime.createObject("TRAMOX.Rate", none), status::kRegDbClassNotReg);
}

// The paddle window's code lives in the module: a paddle left on screen by a driver object
// released while connected must keep the module loaded until a disconnect closes it.
TEST_F(ModuleTest, ThePaddleHoldsTheModuleUntilItIsClosed) {
  auto get = entry<DllGetClassObjectFn>(kDllGetClassObject);
  auto canUnload = entry<DllCanUnloadNowFn>(kDllCanUnloadNow);
  ASSERT_TRUE(get && canUnload);
  ComRef<IClassFactory> factory;
  ASSERT_EQ(
      get(&telescopeClass().clsid, &kIidIClassFactory, reinterpret_cast<void**>(factory.out())),
      status::kOk);
  auto connectedDriver = [&factory] {
    ComRef<IDispatch> driver;
    factory->CreateInstance(nullptr, kIidIDispatch, reinterpret_cast<void**>(driver.out()));
    EXPECT_EQ(
        invokeByName(*driver.get(), "Connected", kDispatchPropertyPut, {Variant::ofBool(true)}).hr,
        status::kOk);
    return driver;
  };
  connectedDriver().reset();
  EXPECT_EQ(canUnload(), status::kFalse);
  ComRef<IDispatch> second = connectedDriver();
  EXPECT_EQ(
      invokeByName(*second.get(), "Connected", kDispatchPropertyPut, {Variant::ofBool(false)}).hr,
      status::kOk);
  second.reset();
  EXPECT_EQ(canUnload(), status::kOk);
}

}  // namespace
}  // namespace tramox::server::portable
