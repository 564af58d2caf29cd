#include "platform/com/Com.h"
#include "tests/platform/com/TestInterfaces.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(BstrTest, LengthPrefixAndNullString)
{
    BSTR b = SysAllocString(u"Zeit");
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(4u, SysStringLen(b));
    EXPECT_EQ(8u, SysStringByteLen(b));
    UINT prefix;
    std::memcpy(&prefix, reinterpret_cast<char*>(b) - 4, 4);
    EXPECT_EQ(8u, prefix);
    EXPECT_EQ(0, b[4]);
    SysFreeString(b);

    // A null BSTR is the empty string everywhere.
    EXPECT_EQ(0u, SysStringLen(nullptr));
    EXPECT_EQ("", platform::BstrToUtf8(nullptr));
    EXPECT_EQ(nullptr, SysAllocString(nullptr));
    SysFreeString(nullptr);

    // Embedded zeros are part of the text.
    BSTR z = SysAllocStringLen(u"a\0b", 3);
    EXPECT_EQ(3u, SysStringLen(z));
    EXPECT_EQ(std::string("a\0b", 3), platform::BstrToUtf8(z));
    EXPECT_TRUE(SysReAllocString(&z, u"neu"));
    EXPECT_EQ("neu", platform::BstrToUtf8(z));
    SysFreeString(z);

    BSTR zeroed = SysAllocStringLen(nullptr, 2);
    EXPECT_EQ(0, zeroed[0]);
    EXPECT_EQ(0, zeroed[2]);
    SysFreeString(zeroed);
}

TEST(BstrTest, Utf8RoundTripKeepsUmlautsAndAstralCharacters)
{
    const std::string text = "Tagesabläufe: Größe ÄÖÜ ß € \xF0\x9F\x95\x90";
    BSTR b = platform::BstrFromUtf8(text);
    EXPECT_EQ(u"Tagesabläufe: Größe ÄÖÜ ß € \U0001F550", std::u16string(b, SysStringLen(b)));
    EXPECT_EQ(text, platform::BstrToUtf8(b));
    SysFreeString(b);

    // Malformed input is marked, not dropped.
    EXPECT_EQ(u"a\uFFFDb", platform::Utf8ToOleString("a\xFF" "b"));
    const char16_t lone[] = {u'x', 0xD800, u'y', 0};
    EXPECT_EQ("x\xEF\xBF\xBDy", platform::OleStringToUtf8(lone));
}

TEST(BstrTest, OwnerCopiesMovesAndAppends)
{
    CComBSTR a("Schaltzeit");
    CComBSTR b = a;
    EXPECT_NE(a.m_str, b.m_str);
    EXPECT_EQ("Schaltzeit", b.ToUtf8());
    CComBSTR c = std::move(b);
    EXPECT_EQ(nullptr, b.m_str);
    EXPECT_EQ(10u, c.Length());
    EXPECT_EQ(S_OK, c.Append(" über"));
    EXPECT_EQ("Schaltzeit über", c.ToUtf8());
    c = std::string("Menge");
    EXPECT_EQ("Menge", c.ToUtf8());

    BSTR copy = nullptr;
    EXPECT_EQ(S_OK, a.CopyTo(&copy));
    EXPECT_EQ(E_POINTER, a.CopyTo(nullptr));
    CComBSTR owner;
    owner.Attach(copy);
    EXPECT_EQ("Schaltzeit", owner.ToUtf8());
    BSTR out = owner.Detach();
    EXPECT_EQ(nullptr, owner.m_str);
    SysFreeString(out);

    // Filling through operator& frees what was held.
    CComBSTR filled("alt");
    *&filled = SysAllocString(u"neu");
    EXPECT_EQ("neu", filled.ToUtf8());
    CComBSTR empty;
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(VariantTest, ClearAndCopyOwnTextsInterfacesAndArrays)
{
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(VT_EMPTY, v.vt);
    v.vt = VT_BSTR;
    v.bstrVal = platform::BstrFromUtf8("Wert");

    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(S_OK, VariantCopy(&copy, &v));
    EXPECT_NE(v.bstrVal, copy.bstrVal);
    EXPECT_EQ("Wert", platform::BstrToUtf8(copy.bstrVal));
    EXPECT_EQ(S_OK, VariantClear(&v));
    EXPECT_EQ(VT_EMPTY, v.vt);
    EXPECT_EQ("Wert", platform::BstrToUtf8(copy.bstrVal));
    VariantClear(&copy);

    VARIANT bad;
    VariantInit(&bad);
    bad.vt = 0x0FFF;
    EXPECT_EQ(DISP_E_BADVARTYPE, VariantClear(&bad));
    EXPECT_EQ(DISP_E_BADVARTYPE, VariantCopy(&copy, &bad));

    // A locked array is not freed under its user.
    VARIANT locked;
    VariantInit(&locked);
    locked.vt = VT_ARRAY | VT_UI1;
    locked.parray = SafeArrayCreateVector(VT_UI1, 0, 4);
    void* data = nullptr;
    ASSERT_EQ(S_OK, SafeArrayAccessData(locked.parray, &data));
    EXPECT_EQ(DISP_E_ARRAYISLOCKED, VariantClear(&locked));
    EXPECT_EQ(VT_ARRAY | VT_UI1, locked.vt);
    SafeArrayUnaccessData(locked.parray);
    EXPECT_EQ(S_OK, VariantClear(&locked));
}

TEST(VariantTest, ChangeTypeConvertsTheKindsTheHostExchanges)
{
    // A 16-bit address read back as a long.
    CComVariant address(static_cast<SHORT>(0x0A05));
    EXPECT_EQ(S_OK, address.ChangeType(VT_I4));
    EXPECT_EQ(VT_I4, address.vt);
    EXPECT_EQ(0x0A05, address.lVal);

    CComVariant text("  -1234 ");
    CComVariant n;
    EXPECT_EQ(S_OK, n.ChangeType(VT_I4, &text));
    EXPECT_EQ(-1234, n.lVal);
    EXPECT_EQ(VT_BSTR, text.vt);  // the source stays as it was

    CComVariant big(70000);
    EXPECT_EQ(DISP_E_OVERFLOW, big.ChangeType(VT_I2));
    EXPECT_EQ(VT_I4, big.vt);
    EXPECT_EQ(DISP_E_OVERFLOW, CComVariant(-1).ChangeType(VT_UI1));

    CComVariant nullValue;
    nullValue.vt = VT_NULL;
    EXPECT_EQ(DISP_E_TYPEMISMATCH, nullValue.ChangeType(VT_I4));
    EXPECT_EQ(DISP_E_TYPEMISMATCH, CComVariant("zwölf").ChangeType(VT_I4));

    CComVariant flag(true);
    EXPECT_EQ(VARIANT_TRUE, flag.boolVal);
    EXPECT_EQ(S_OK, flag.ChangeType(VT_BSTR));
    EXPECT_EQ("-1", platform::BstrToUtf8(flag.bstrVal));
    VARIANT alpha;
    VariantInit(&alpha);
    CComVariant no(false);
    EXPECT_EQ(S_OK, VariantChangeType(&alpha, &no, VARIANT_ALPHABOOL, VT_BSTR));
    EXPECT_EQ("False", platform::BstrToUtf8(alpha.bstrVal));
    VariantClear(&alpha);
    CComVariant yes("True");
    EXPECT_EQ(S_OK, yes.ChangeType(VT_BOOL));
    EXPECT_EQ(VARIANT_TRUE, yes.boolVal);

    // Reals round half to even.
    CComVariant half(2.5);
    EXPECT_EQ(S_OK, half.ChangeType(VT_I4));
    EXPECT_EQ(2, half.lVal);
    CComVariant empty;
    EXPECT_EQ(S_OK, empty.ChangeType(VT_I4));
    EXPECT_EQ(0, empty.lVal);
}

TEST(VariantTest, OwnerHoldsEachKindAndComparesByValue)
{
    CComVariant i4(42);
    CComVariant byte(static_cast<BYTE>(7));
    CComVariant i2(5, VT_I2);
    CComVariant word(static_cast<SHORT>(5));
    EXPECT_EQ(VT_I4, i4.vt);
    EXPECT_EQ(VT_UI1, byte.vt);
    EXPECT_TRUE(i2 == word);
    EXPECT_TRUE(CComVariant("ä") == CComVariant(u"ä"));
    EXPECT_FALSE(CComVariant("a") == CComVariant("b"));

    CComVariant moved = std::move(i4);
    EXPECT_EQ(VT_EMPTY, i4.vt);
    EXPECT_EQ(42, moved.lVal);

    VARIANT out;
    VariantInit(&out);
    EXPECT_EQ(S_OK, moved.Detach(&out));
    EXPECT_EQ(VT_EMPTY, moved.vt);
    EXPECT_EQ(42, out.lVal);
    CComVariant back;
    EXPECT_EQ(S_OK, back.Attach(&out));
    EXPECT_EQ(VT_EMPTY, out.vt);
    EXPECT_EQ(42, back.lVal);

    BSTR text = nullptr;
    EXPECT_EQ(DISP_E_TYPEMISMATCH, back.CopyTo(&text));
    EXPECT_EQ(S_OK, CComVariant("Tag").CopyTo(&text));
    EXPECT_EQ("Tag", platform::BstrToUtf8(text));
    SysFreeString(text);
}

TEST(SafeArrayTest, ByteArrayBoundsAccessAndCopy)
{
    SAFEARRAY* psa = SafeArrayCreateVector(VT_UI1, 0, 12);
    ASSERT_NE(nullptr, psa);
    EXPECT_EQ(1u, SafeArrayGetDim(psa));
    EXPECT_EQ(1u, SafeArrayGetElemsize(psa));
    LONG lo = -1, hi = -1;
    EXPECT_EQ(S_OK, SafeArrayGetLBound(psa, 1, &lo));
    EXPECT_EQ(S_OK, SafeArrayGetUBound(psa, 1, &hi));
    EXPECT_EQ(0, lo);
    EXPECT_EQ(11, hi);
    EXPECT_EQ(DISP_E_BADINDEX, SafeArrayGetLBound(psa, 2, &lo));
    VARTYPE vt = VT_EMPTY;
    EXPECT_EQ(S_OK, SafeArrayGetVartype(psa, &vt));
    EXPECT_EQ(VT_UI1, vt);

    BYTE* data = nullptr;
    ASSERT_EQ(S_OK, SafeArrayAccessData(psa, reinterpret_cast<void**>(&data)));
    EXPECT_EQ(0, data[11]);  // elements start zeroed
    for (int i = 0; i < 12; ++i)
        data[i] = static_cast<BYTE>(0xA0 + i);
    EXPECT_EQ(DISP_E_ARRAYISLOCKED, SafeArrayDestroy(psa));
    EXPECT_EQ(S_OK, SafeArrayUnaccessData(psa));
    EXPECT_EQ(E_UNEXPECTED, SafeArrayUnaccessData(psa));

    LONG index = 3;
    BYTE b = 0;
    EXPECT_EQ(S_OK, SafeArrayGetElement(psa, &index, &b));
    EXPECT_EQ(0xA3, b);
    index = 12;
    EXPECT_EQ(DISP_E_BADINDEX, SafeArrayGetElement(psa, &index, &b));

    CComVariant v(psa);
    EXPECT_EQ(VT_ARRAY | VT_UI1, v.vt);
    EXPECT_NE(psa, v.parray);
    CComVariant copy = v;
    index = 11;
    EXPECT_EQ(S_OK, SafeArrayGetElement(copy.parray, &index, &b));
    EXPECT_EQ(0xAB, b);
    EXPECT_EQ(S_OK, SafeArrayDestroy(psa));

    SAFEARRAYBOUND twoDims[2] = {{2, 0}, {2, 0}};
    EXPECT_EQ(nullptr, SafeArrayCreate(VT_UI1, 2, twoDims));
    EXPECT_EQ(nullptr, SafeArrayCreateVector(VT_BYREF, 0, 1));
}

TEST(SafeArrayTest, LongArrayWithLowerBound)
{
    SAFEARRAY* psa = SafeArrayCreateVector(VT_I4, 1, 3);
    ASSERT_NE(nullptr, psa);
    EXPECT_EQ(4u, SafeArrayGetElemsize(psa));
    for (LONG i = 1; i <= 3; ++i) {
        LONG value = 0x01020300 + i;
        EXPECT_EQ(S_OK, SafeArrayPutElement(psa, &i, &value));
    }
    LONG index = 0;
    LONG value = 0;
    EXPECT_EQ(DISP_E_BADINDEX, SafeArrayPutElement(psa, &index, &value));
    index = 3;
    EXPECT_EQ(S_OK, SafeArrayGetElement(psa, &index, &value));
    EXPECT_EQ(0x01020303, value);
    LONG hi = 0;
    SafeArrayGetUBound(psa, 1, &hi);
    EXPECT_EQ(3, hi);
    SafeArrayDestroy(psa);
}

TEST(SafeArrayTest, OwningElementsAreCopiedInAndOutAndFreed)
{
    SAFEARRAY* texts = SafeArrayCreateVector(VT_BSTR, 0, 2);
    CComBSTR first("Sommerzeit");
    LONG index = 0;
    EXPECT_EQ(S_OK, SafeArrayPutElement(texts, &index, first.m_str));
    EXPECT_EQ(S_OK, SafeArrayPutElement(texts, &index, CComBSTR("Winterzeit").m_str));  // replaces and frees
    BSTR out = nullptr;
    EXPECT_EQ(S_OK, SafeArrayGetElement(texts, &index, &out));
    EXPECT_EQ("Winterzeit", platform::BstrToUtf8(out));
    SysFreeString(out);
    index = 1;
    EXPECT_EQ(S_OK, SafeArrayGetElement(texts, &index, &out));
    EXPECT_EQ(nullptr, out);

    SAFEARRAY* values = SafeArrayCreateVector(VT_VARIANT, 0, 2);
    CComVariant inner(texts);
    EXPECT_EQ(S_OK, SafeArrayDestroy(texts));
    index = 0;
    EXPECT_EQ(S_OK, SafeArrayPutElement(values, &index, &inner));
    index = 1;
    CComVariant number(9);
    EXPECT_EQ(S_OK, SafeArrayPutElement(values, &index, &number));
    SAFEARRAY* copy = nullptr;
    EXPECT_EQ(S_OK, SafeArrayCopy(values, &copy));
    EXPECT_EQ(S_OK, SafeArrayDestroy(values));
    CComVariant got;
    index = 0;
    EXPECT_EQ(S_OK, SafeArrayGetElement(copy, &index, &got));
    EXPECT_EQ(VT_ARRAY | VT_BSTR, got.vt);
    EXPECT_EQ(S_OK, SafeArrayDestroy(copy));
}

class CCounted : public ICounter, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CCounted)
    COM_INTERFACE_ENTRY(ICounter)
    END_COM_MAP()
    HRESULT Increment(LONG* plValue) override
    {
        *plValue = 0;
        return S_OK;
    }
};

TEST(SafeArrayTest, InterfaceElementsAndVariantsHoldReferences)
{
    CComPtr<ICounter> object;
    ASSERT_EQ(S_OK, CComCreator<CCounted>::CreateInstance(nullptr, IidOf<ICounter>(), reinterpret_cast<void**>(&object)));
    SAFEARRAY* psa = SafeArrayCreateVector(VT_UNKNOWN, 0, 1);
    LONG index = 0;
    EXPECT_EQ(S_OK, SafeArrayPutElement(psa, &index, static_cast<IUnknown*>(object.p)));
    EXPECT_EQ(3u, object->AddRef());  // ours, the array's and this one
    object->Release();
    IUnknown* got = nullptr;
    EXPECT_EQ(S_OK, SafeArrayGetElement(psa, &index, &got));
    EXPECT_EQ(static_cast<IUnknown*>(object.p), got);
    got->Release();
    {
        CComVariant held(static_cast<IUnknown*>(object.p));
        EXPECT_EQ(VT_UNKNOWN, held.vt);
        EXPECT_EQ(4u, object->AddRef());
        object->Release();
    }
    EXPECT_EQ(S_OK, SafeArrayDestroy(psa));
    EXPECT_EQ(2u, object->AddRef());
    object->Release();
}

}  // namespace
