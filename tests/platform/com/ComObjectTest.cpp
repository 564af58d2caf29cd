#include "platform/com/Com.h"
#include "tests/platform/com/TestInterfaces.h"

#include <gtest/gtest.h>

namespace {

int g_nWidgetsAlive = 0;
int g_nFinalReleases = 0;
HRESULT g_hrFinalConstruct = S_OK;
bool g_bSelfQueryInFinalConstruct = false;
bool g_bReenterInFinalRelease = false;

class CWidget : public IGreeter, public ICounter, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CWidget)
    COM_INTERFACE_ENTRY(IGreeter)
    COM_INTERFACE_ENTRY(ICounter)
    END_COM_MAP()

    CWidget() { ++g_nWidgetsAlive; }
    ~CWidget() { --g_nWidgetsAlive; }

    HRESULT FinalConstruct()
    {
        if (g_bSelfQueryInFinalConstruct) {
            // Handing itself out and back must not end the object.
            ICounter* counter = nullptr;
            if (FAILED(GetUnknown()->QueryInterface(&counter)))
                return E_FAIL;
            counter->Release();
        }
        return g_hrFinalConstruct;
    }
    void FinalRelease()
    {
        ++g_nFinalReleases;
        if (g_bReenterInFinalRelease) {
            GetUnknown()->AddRef();
            GetUnknown()->Release();
        }
    }

    HRESULT Greet(BSTR bstrName, BSTR* pbstrGreeting) override
    {
        if (!pbstrGreeting)
            return E_POINTER;
        *pbstrGreeting = platform::BstrFromUtf8("Hi " + platform::BstrToUtf8(bstrName));
        return S_OK;
    }
    HRESULT Increment(LONG* plValue) override
    {
        if (!plValue)
            return E_POINTER;
        *plValue = ++m_lValue;
        return S_OK;
    }

private:
    LONG m_lValue = 0;
};

class CNotAggregatable : public ICounter, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CNotAggregatable)
    COM_INTERFACE_ENTRY(ICounter)
    END_COM_MAP()
    DECLARE_NOT_AGGREGATABLE(CNotAggregatable)

    HRESULT Increment(LONG* plValue) override
    {
        *plValue = 1;
        return S_OK;
    }
};

int g_nInnerAlive = 0;

class CInnerCounter : public ICounter, public CComObjectRoot {
public:
    BEGIN_COM_MAP(CInnerCounter)
    COM_INTERFACE_ENTRY(ICounter)
    END_COM_MAP()

    CInnerCounter() { ++g_nInnerAlive; }
    ~CInnerCounter() { --g_nInnerAlive; }

    HRESULT Increment(LONG* plValue) override
    {
        *plValue = ++m_lValue;
        return S_OK;
    }

private:
    LONG m_lValue = 100;
};

// Offers IGreeter itself and ICounter through an aggregated inner object.
class COuter : public IGreeter, public CComObjectRoot {
public:
    BEGIN_COM_MAP(COuter)
    COM_INTERFACE_ENTRY(IGreeter)
    COM_INTERFACE_ENTRY_AGGREGATE(IidOf<ICounter>(), m_pInner)
    END_COM_MAP()

    HRESULT FinalConstruct()
    {
        return CComCreator<CInnerCounter>::CreateInstance(GetControllingUnknown(), IID_IUnknown,
                                                          reinterpret_cast<void**>(&m_pInner.p));
    }
    void FinalRelease() { m_pInner.Release(); }

    HRESULT Greet(BSTR, BSTR* pbstrGreeting) override
    {
        *pbstrGreeting = nullptr;
        return S_OK;
    }

private:
    CComPtr<IUnknown> m_pInner;
};

template <class T>
HRESULT Create(IUnknown* pOuter, REFIID riid, void** ppv)
{
    return CComCreator<T>::CreateInstance(pOuter, riid, ppv);
}

IUnknown* IdentityOf(IUnknown* p)
{
    void* pv = nullptr;
    EXPECT_EQ(S_OK, p->QueryInterface(IID_IUnknown, &pv));
    auto* unk = static_cast<IUnknown*>(pv);
    unk->Release();
    return unk;
}

class ComObjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_nFinalReleases = 0;
        g_hrFinalConstruct = S_OK;
        g_bSelfQueryInFinalConstruct = false;
        g_bReenterInFinalRelease = false;
        m_nBaseLocks = CComModuleLock::GetLockCount();
    }
    void TearDown() override
    {
        EXPECT_EQ(0, g_nWidgetsAlive);
        EXPECT_EQ(0, g_nInnerAlive);
        EXPECT_EQ(m_nBaseLocks, CComModuleLock::GetLockCount());
    }
    LONG m_nBaseLocks = 0;
};

TEST_F(ComObjectTest, CountsReferencesAndFollowsTheIdentityRules)
{
    IGreeter* greeter = nullptr;
    ASSERT_EQ(S_OK, Create<CWidget>(nullptr, IidOf<IGreeter>(), reinterpret_cast<void**>(&greeter)));
    EXPECT_EQ(1, g_nWidgetsAlive);
    EXPECT_EQ(m_nBaseLocks + 1, CComModuleLock::GetLockCount());
    EXPECT_EQ(2u, greeter->AddRef());
    EXPECT_EQ(1u, greeter->Release());

    ICounter* counter = nullptr;
    ASSERT_EQ(S_OK, greeter->QueryInterface(&counter));
    EXPECT_NE(static_cast<void*>(greeter), static_cast<void*>(counter));
    // One IUnknown whatever interface is asked; and every interface leads
    // back to every other one.
    EXPECT_EQ(IdentityOf(greeter), IdentityOf(counter));
    IGreeter* again = nullptr;
    ASSERT_EQ(S_OK, counter->QueryInterface(&again));
    EXPECT_EQ(greeter, again);
    again->Release();

    void* pv = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(E_NOINTERFACE, greeter->QueryInterface(IidOf<IClassFactory>(), &pv));
    EXPECT_EQ(nullptr, pv);
    EXPECT_EQ(E_POINTER, greeter->QueryInterface(IidOf<ICounter>(), nullptr));

    LONG value = 0;
    counter->Increment(&value);
    counter->Increment(&value);
    EXPECT_EQ(2, value);

    EXPECT_EQ(1u, counter->Release());
    EXPECT_EQ(0u, greeter->Release());
    EXPECT_EQ(0, g_nWidgetsAlive);
    EXPECT_EQ(1, g_nFinalReleases);
}

TEST_F(ComObjectTest, CreationReportsWrongRequestsCleanly)
{
    EXPECT_EQ(E_POINTER, Create<CWidget>(nullptr, IidOf<IGreeter>(), nullptr));
    void* pv = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(E_NOINTERFACE, Create<CWidget>(nullptr, IidOf<IClassFactory>(), &pv));
    EXPECT_EQ(nullptr, pv);
    EXPECT_EQ(0, g_nWidgetsAlive);
}

TEST_F(ComObjectTest, FinalConstructFailureDestroysTheObject)
{
    g_hrFinalConstruct = E_OUTOFMEMORY;
    void* pv = nullptr;
    EXPECT_EQ(E_OUTOFMEMORY, Create<CWidget>(nullptr, IidOf<IGreeter>(), &pv));
    EXPECT_EQ(nullptr, pv);
    EXPECT_EQ(0, g_nWidgetsAlive);
}

TEST_F(ComObjectTest, FinalConstructAndFinalReleaseMayUseTheObject)
{
    g_bSelfQueryInFinalConstruct = true;
    g_bReenterInFinalRelease = true;
    IGreeter* greeter = nullptr;
    ASSERT_EQ(S_OK, Create<CWidget>(nullptr, IidOf<IGreeter>(), reinterpret_cast<void**>(&greeter)));
    EXPECT_EQ(1, g_nWidgetsAlive);
    EXPECT_EQ(0u, greeter->Release());
    EXPECT_EQ(1, g_nFinalReleases);
}

TEST_F(ComObjectTest, ObjectsWithoutModuleLockDoNotCount)
{
    CComObjectNoLock<CWidget>* p = nullptr;
    ASSERT_EQ(S_OK, CComObjectNoLock<CWidget>::CreateInstance(&p));
    p->AddRef();
    EXPECT_EQ(m_nBaseLocks, CComModuleLock::GetLockCount());
    p->Release();

    CComObject<CWidget>* q = nullptr;
    ASSERT_EQ(S_OK, CComObject<CWidget>::CreateInstance(&q));
    q->AddRef();
    EXPECT_EQ(m_nBaseLocks + 1, CComModuleLock::GetLockCount());
    q->Release();
}

TEST_F(ComObjectTest, AggregatedObjectSharesTheOuterIdentityAndCount)
{
    IGreeter* greeter = nullptr;
    ASSERT_EQ(S_OK, Create<COuter>(nullptr, IidOf<IGreeter>(), reinterpret_cast<void**>(&greeter)));
    EXPECT_EQ(1, g_nInnerAlive);

    ICounter* counter = nullptr;
    ASSERT_EQ(S_OK, greeter->QueryInterface(&counter));
    LONG value = 0;
    counter->Increment(&value);
    EXPECT_EQ(101, value);
    // The inner interface answers with the outer identity and reaches the
    // outer's other interfaces.
    EXPECT_EQ(IdentityOf(greeter), IdentityOf(counter));
    IGreeter* back = nullptr;
    ASSERT_EQ(S_OK, counter->QueryInterface(&back));
    EXPECT_EQ(greeter, back);
    back->Release();
    // Counts go to the outer object: two references are out now.
    EXPECT_EQ(3u, counter->AddRef());
    counter->Release();

    counter->Release();
    EXPECT_EQ(0u, greeter->Release());
    EXPECT_EQ(0, g_nInnerAlive);
}

TEST_F(ComObjectTest, InnerUnknownControlsTheAggregatedObject)
{
    IGreeter* outer = nullptr;
    ASSERT_EQ(S_OK, Create<CWidget>(nullptr, IidOf<IGreeter>(), reinterpret_cast<void**>(&outer)));
    IUnknown* inner = nullptr;
    ASSERT_EQ(S_OK, Create<CInnerCounter>(outer, IID_IUnknown, reinterpret_cast<void**>(&inner)));
    // The inner unknown is not the outer identity, and asked for IUnknown it
    // answers itself.
    EXPECT_NE(IdentityOf(outer), inner);
    void* pv = nullptr;
    ASSERT_EQ(S_OK, inner->QueryInterface(IID_IUnknown, &pv));
    EXPECT_EQ(inner, pv);
    inner->Release();
    EXPECT_EQ(0u, inner->Release());
    EXPECT_EQ(0, g_nInnerAlive);
    outer->Release();
}

TEST_F(ComObjectTest, AggregationIsRefusedWhereTheClassOrRequestForbidsIt)
{
    IGreeter* outer = nullptr;
    ASSERT_EQ(S_OK, Create<CWidget>(nullptr, IidOf<IGreeter>(), reinterpret_cast<void**>(&outer)));
    void* pv = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, Create<CNotAggregatable>(outer, IID_IUnknown, &pv));
    EXPECT_EQ(nullptr, pv);
    // Aggregating needs the request for IUnknown.
    EXPECT_EQ(CLASS_E_NOAGGREGATION, Create<CInnerCounter>(outer, IidOf<ICounter>(), &pv));
    EXPECT_EQ(0, g_nInnerAlive);
    outer->Release();
}

TEST_F(ComObjectTest, ClassFactoryCreatesObjectsAndLocksTheServer)
{
    CComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, CreateClassFactory<CWidget>(IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    // Holding a factory does not keep the module.
    EXPECT_EQ(m_nBaseLocks, CComModuleLock::GetLockCount());

    CComPtr<ICounter> counter;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IidOf<ICounter>(), reinterpret_cast<void**>(&counter)));
    EXPECT_EQ(m_nBaseLocks + 1, CComModuleLock::GetLockCount());
    counter.Release();

    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    EXPECT_EQ(m_nBaseLocks + 1, CComModuleLock::GetLockCount());
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(m_nBaseLocks, CComModuleLock::GetLockCount());

    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IidOf<ICounter>(), nullptr));
    void* pv = nullptr;
    EXPECT_EQ(E_NOINTERFACE, CreateClassFactory<CWidget>(IidOf<ICounter>(), &pv));
}

inline constexpr CLSID CLSID_Widget = platform::MakeGuid("8D1E3C52-0B7A-4F0E-9A51-3C2B7E6D4C01");

class CCreatableWidget : public CWidget, public CComCoClass<CCreatableWidget, CLSID_Widget> {
};

TEST_F(ComObjectTest, ModuleServesItsObjectMapAndTellsWhenItCanUnload)
{
    CComDllModule module({MakeObjectMapEntry<CCreatableWidget>()});
    void* pv = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, module.DllGetClassObject(CLSID_ModuleGreeter, IID_IClassFactory, &pv));
    EXPECT_EQ(nullptr, pv);
    EXPECT_EQ(E_POINTER, module.DllGetClassObject(CLSID_Widget, IID_IClassFactory, nullptr));

    CComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, module.DllGetClassObject(CLSID_Widget, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(m_nBaseLocks == 0 ? S_OK : S_FALSE, module.DllCanUnloadNow());
    CComPtr<IGreeter> greeter;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IidOf<IGreeter>(), reinterpret_cast<void**>(&greeter)));
    EXPECT_EQ(S_FALSE, module.DllCanUnloadNow());
    CComBSTR text;
    EXPECT_EQ(S_OK, greeter->Greet(CComBSTR("Welt"), &text));
    EXPECT_EQ("Hi Welt", text.ToUtf8());
    // Registration of a class without a script does nothing and succeeds.
    EXPECT_EQ(S_OK, module.DllRegisterServer());
}

TEST_F(ComObjectTest, SmartPointerKeepsCountsBalanced)
{
    CComPtr<IGreeter> a;
    ASSERT_EQ(S_OK, CCreatableWidget::CreateInstance(&a.p));
    {
        CComPtr<IGreeter> b = a;
        EXPECT_EQ(3u, a->AddRef());
        a->Release();
        CComPtr<IGreeter> c = std::move(b);
        EXPECT_EQ(nullptr, b.p);
        EXPECT_TRUE(c.IsEqualObject(a));
    }
    EXPECT_EQ(2u, a->AddRef());
    a->Release();

    CComPtr<ICounter> counter;
    ASSERT_EQ(S_OK, a.QueryInterface(&counter));
    EXPECT_TRUE(counter.IsEqualObject(a));
    CComQIPtr<ICounter> viaQI(static_cast<IUnknown*>(a.p));
    EXPECT_EQ(counter.p, viaQI.p);
    CComQIPtr<IClassFactory> none(static_cast<IUnknown*>(a.p));
    EXPECT_EQ(nullptr, none.p);

    IGreeter* raw = nullptr;
    ASSERT_EQ(S_OK, a.CopyTo(&raw));
    EXPECT_EQ(E_POINTER, a.CopyTo(nullptr));
    CComPtr<IGreeter> attached;
    attached.Attach(raw);  // takes over the reference CopyTo gave
    IGreeter* detached = attached.Detach();
    EXPECT_EQ(nullptr, attached.p);
    EXPECT_EQ(raw, detached);
    detached->Release();

    // Filling a pointer that already holds one releases the old reference.
    CComPtr<IGreeter> refill = a;
    ASSERT_EQ(S_OK, counter->QueryInterface(&refill));
    EXPECT_EQ(a.p, refill.p);
    refill.Release();
    counter.Release();
    viaQI.Release();
    a.Release();
    EXPECT_EQ(0, g_nWidgetsAlive);
}

TEST(ComTypesTest, InterfaceIdsAreWrittenOnceAndCheckedWhileCompiling)
{
    EXPECT_EQ("{00000000-0000-0000-C000-000000000046}", platform::FormatGuid(IidOf<IUnknown>()));
    EXPECT_EQ("{00000001-0000-0000-C000-000000000046}", platform::FormatGuid(IID_IClassFactory));
    EXPECT_EQ(platform::GuidFromString("{8d1e3c52-0b7a-4f0e-9a51-3c2b7e6d4a01}"), IidOf<IGreeter>());
    static_assert(platform::MakeGuid("{6D6A4DFC-4D63-4ea7-8FAE-893D8BB6E22F}").Data1 == 0x6D6A4DFCu);
    static_assert(platform::MakeGuid("6D6A4DFC-4D63-4ea7-8FAE-893D8BB6E22F").Data4[7] == 0x2F);
}

}  // namespace
