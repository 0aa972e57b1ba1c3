// The COM pointer keeps an object's reference count balanced: an object
// created with one reference and adopted by a pointer has none left exactly
// when the last copy lets go, whatever copies, moves, assignments and
// queries happened in between.
#include "ComPtr.h"

#include <utility>

#include <gtest/gtest.h>

namespace {

// IUnknown of an object that counts its references. It lives on the test's
// stack, so that its count can still be read when no reference is left.
// It answers QueryInterface for IUnknown only.
class CountedObject final : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!IsEqualIID(iid, IID_IUnknown)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override { return --references_; }

    // One for the creator, as a COM object starts.
    ULONG References() const { return references_; }

private:
    ULONG references_ = 1;
};

TEST(ComPtr, CopiesTakeAReferenceAndMovesHandItOver) {
    CountedObject object;
    {
        ComPtr<CountedObject> first(&object);
        EXPECT_EQ(object.References(), 1u);
        {
            ComPtr<CountedObject> copy(first);
            EXPECT_EQ(object.References(), 2u);
            ComPtr<CountedObject> moved(std::move(copy));
            EXPECT_EQ(object.References(), 2u);
            EXPECT_EQ(copy.Get(), nullptr);
            ComPtr<CountedObject> assigned;
            assigned = moved;
            EXPECT_EQ(object.References(), 3u);
            auto& same = assigned;
            assigned = same;
            assigned = std::move(same);
            EXPECT_EQ(object.References(), 3u);
        }
        EXPECT_EQ(object.References(), 1u);
    }
    EXPECT_EQ(object.References(), 0u);
}

TEST(ComPtr, AssigningAnotherObjectReleasesTheOneHeld) {
    CountedObject first;
    CountedObject second;
    {
        ComPtr<CountedObject> pointer(&first);
        ComPtr<CountedObject> other(&second);
        pointer = other;
        EXPECT_EQ(first.References(), 0u);
        EXPECT_EQ(second.References(), 2u);
        pointer = ComPtr<CountedObject>();
        EXPECT_EQ(second.References(), 1u);
    }
    EXPECT_EQ(second.References(), 0u);
}

TEST(ComPtr, OutParametersAndQueriesStayBalanced) {
    CountedObject object;
    {
        ComPtr<CountedObject> pointer(&object);
        ComPtr<IUnknown> unknown;
        ASSERT_EQ(pointer.As(IID_IUnknown, &unknown), S_OK);
        EXPECT_EQ(object.References(), 2u);
        ASSERT_EQ(pointer.As(IID_IUnknown, &unknown), S_OK);  // the first answer is released
        EXPECT_EQ(object.References(), 2u);

        ComPtr<IUnknown> refused;
        EXPECT_EQ(pointer.As(IID_IClassFactory, &refused), E_NOINTERFACE);
        EXPECT_FALSE(refused);
        EXPECT_EQ(object.References(), 2u);

        // An out parameter lets go of the reference it held before it is filled.
        ASSERT_EQ(pointer->QueryInterface(IID_IUnknown, unknown.PutVoid()), S_OK);
        EXPECT_EQ(object.References(), 2u);
    }
    EXPECT_EQ(object.References(), 0u);
}

}  // namespace
