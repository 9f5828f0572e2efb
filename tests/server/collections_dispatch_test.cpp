#include <gtest/gtest.h>

#include "server/binding/automation_objects.h"
#include "server/binding/module_counts.h"
#include "server/portable/client_runtime.h"

namespace tramox::server::portable {
namespace {

ComRef<IDispatch> axisRates() {
  return newRatesObject(std::make_shared<rates::TRates>(nullptr, nullptr, 1.0, 2.0, 3.0, 3));
}

double maximumOf(const Variant& rate) {
  return invokeByName(*rate.dispatch(), "Maximum", kDispatchPropertyGet, {}).value.doubleValue();
}

ComRef<IEnumVariant> newEnum(IDispatch& collection) {
  Variant result;
  EXPECT_EQ(collection.Invoke(kDispIdNewEnum, kDispatchMethod, nullptr, &result, nullptr, nullptr),
            status::kOk);
  ComRef<IEnumVariant> e;
  if (result.unknown()) {
    result.unknown()->QueryInterface(kIidIEnumVariant, reinterpret_cast<void**>(e.out()));
  }
  return e;
}

TEST(CollectionDispatch, ItemByDefaultIdentifierEqualsItemByName) {
  auto rates = axisRates();
  Variant index = Variant::ofInt32(2);
  DispParams params{&index, nullptr, 1, 0};
  Variant byId;
  ASSERT_EQ(rates->Invoke(kDispIdValue, kDispatchMethod | kDispatchPropertyGet, &params, &byId,
                          nullptr, nullptr),
            status::kOk);
  auto byName = invokeByName(*rates.get(), "item", kDispatchPropertyGet, {Variant::ofText("2")});
  ASSERT_EQ(byName.hr, status::kOk);
  EXPECT_EQ(maximumOf(byId), 2.0);
  EXPECT_EQ(maximumOf(byName.value), 2.0);
  EXPECT_EQ(invokeByName(*rates.get(), "Item", kDispatchPropertyGet, {}).hr,
            status::kDispBadParamCount);
}

TEST(CollectionDispatch, NewEnumIsTheCollectionItselfWithOneCursor) {
  auto rates = axisRates();
  auto e = newEnum(*rates.get());
  ASSERT_TRUE(e);
  Variant items[10];
  std::uint32_t fetched = 99;
  EXPECT_EQ(e->Next(10, items, &fetched), status::kFalse);
  EXPECT_EQ(fetched, 3u);
  EXPECT_EQ(maximumOf(items[2]), 3.0);
  // A second enumerator of the same object continues where the first stopped.
  auto again = newEnum(*rates.get());
  EXPECT_EQ(again->Next(1, items, &fetched), status::kFalse);
  EXPECT_EQ(fetched, 0u);
  EXPECT_EQ(again->Reset(), status::kOk);
  EXPECT_EQ(e->Skip(2), status::kOk);
  EXPECT_EQ(e->Next(1, items, nullptr), status::kOk);
  EXPECT_EQ(maximumOf(items[0]), 3.0);
  EXPECT_EQ(e->Next(2, items, nullptr), status::kPointer);  // fetched is required for more than one
}

TEST(CollectionDispatch, TrackingRatesEnumerateAsIntegersAndCloneKeepsThePosition) {
  auto col = newTrackingRatesObject(std::make_shared<rates::TTrackingRatesCol>(3));
  auto e = newEnum(*col.get());
  ComRef<IEnumVariant> copy;
  ASSERT_EQ(e->Clone(copy.out()), status::kOk);
  Variant items[5];
  std::uint32_t fetched = 0;
  EXPECT_EQ(copy->Next(5, items, &fetched), status::kFalse);
  ASSERT_EQ(fetched, 1u);
  EXPECT_EQ(items[0].type(), VarType::Int32);
  EXPECT_EQ(items[0].int32Value(), 3);
  EXPECT_EQ(e->Next(1, items, &fetched), status::kOk);  // the original did not move
  EXPECT_EQ(items[0].int32Value(), 3);
  EXPECT_EQ(e->Skip(100), status::kFalse);
}

TEST(CollectionDispatch, EveryObjectCountsWhileItLives) {
  const long before = ModuleCounts::instance().liveObjects();
  {
    auto rates = axisRates();
    auto item = invokeByName(*rates.get(), "Item", kDispatchPropertyGet, {Variant::ofInt32(1)});
    EXPECT_EQ(ModuleCounts::instance().liveObjects(), before + 2);
    auto e = newEnum(*rates.get());
    rates.reset();  // the enumerator keeps the collection alive
    EXPECT_EQ(ModuleCounts::instance().liveObjects(), before + 2);
  }
  EXPECT_EQ(ModuleCounts::instance().liveObjects(), before);
}

}  // namespace
}  // namespace tramox::server::portable
