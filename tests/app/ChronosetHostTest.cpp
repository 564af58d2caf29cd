// The central object against the host stand-in: deleting and reading the
// device's associations, linking objects, and binding a data file's group
// addresses to the project's group tree.

#include "app/Chronoset.h"

#include "access/AssociationVeto.h"
#include "access/EtsDataAccess.h"
#include "access/HostObjectMaps.h"
#include "app/ObjectCookieMap.h"
#include "platform/com/ComBSTR.h"
#include "platform/com/ComVariant.h"
#include "tests/app/HostTestSupport.h"

#include <gtest/gtest.h>

namespace {

using apptest::kDevice;

class ChronosetHostTest : public apptest::HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        m_pPrevious = g_pChronoset;
        g_pChronoset = &m_set;
    }
    void TearDown() override
    {
        g_pChronoset = m_pPrevious;
        HostTest::TearDown();
    }

    // Objects 0..3, each with `nAssociations` associations to the group
    // addresses 20.., and "ObjectType-n" parameters with ids 900 + n.
    void LoadDevice(int nAssociations)
    {
        apptest::Json project = apptest::ProjectWithGroups(
            {{10, 1, 11, 0, 20, 1}, {10, 1, 11, 0, 21, 2}, {10, 1, 11, 0, 22, 3}, {10, 1, 12, 2, 23, 7}});
        apptest::Json device = apptest::Device(kDevice, 4, {});
        LONG nNextId = 5000;
        for (int n = 0; n < 4; ++n) {
            device["parameters"].push_back(
                apptest::Json {{"id", 900 + n}, {"name", "ObjectType-" + std::to_string(n)}, {"value", 1}});
            for (int i = 0; i < nAssociations; ++i)
                device["commObjects"][n]["associations"].push_back(
                    apptest::Json {{"id", nNextId++}, {"groupAddress", 20 + i}});
        }
        project["projects"][0]["devices"].push_back(device);
        Load(project);
        Scan(kDevice);
        for (int n = 0; n < 4; ++n) {
            g_mapCommObjects.SetAt(kDevice + 1 + n, m_host.FindCommObject(kDevice, n));
            g_mapDeviceParameters.SetAt(900 + n, Find<IEtsDeviceParameter>(900 + n));
            m_set.m_arrObjectTypeIds.push_back(900 + n);
            m_arrObjects.push_back({static_cast<WORD>(n), n, kDevice + 1 + n});
        }
    }

    LONG AssociationCount(int nObject)
    {
        CComPtr<IEtsAssociations> pAssociations;
        m_host.FindCommObject(kDevice, nObject)->get_Associations(&pAssociations);
        LONG nCount = 0;
        pAssociations->get_Count(&nCount);
        return nCount;
    }

    LONG ParameterValue(LONG nId)
    {
        CComVariant value;
        Find<IEtsDeviceParameter>(nId)->get_Value(&value);
        return value.lVal;
    }

    CChronoset m_set;
    CChronoset* m_pPrevious = nullptr;
    CCommObjectArray m_arrObjects;
    CEtsDataAccess m_access;
};

}  // namespace

TEST_F(ChronosetHostTest, DeleteAssociationsRemovesEveryAssociationAndHidesTheObjects)
{
    LoadDevice(3);
    EXPECT_EQ(m_set.DeleteAssociations(&m_access, kDevice, m_arrObjects, nullptr), 0);
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(AssociationCount(n), 0) << n;
        EXPECT_EQ(ParameterValue(900 + n), 0) << n;
    }
    EXPECT_EQ(g_bOwnAssociationChange, 0);
}

TEST_F(ChronosetHostTest, DeleteAssociationsFailsWhenAnyObjectFails)
{
    LoadDevice(1);
    // The first object's associations cannot be read; the last is fine.
    m_host.AddFault("CommObject:" + std::to_string(kDevice + 1), "get_Associations", E_FAIL);
    EXPECT_EQ(m_set.DeleteAssociations(&m_access, kDevice, m_arrObjects, nullptr), 5);
    EXPECT_EQ(ParameterValue(900), 1);
    EXPECT_EQ(ParameterValue(903), 0);
    // An object number beyond the object-type ids hides nothing and fails.
    m_host.ClearFaults();
    m_set.m_arrObjectTypeIds.resize(2);
    EXPECT_EQ(m_set.DeleteAssociations(&m_access, kDevice, m_arrObjects, nullptr), 5);
}

TEST_F(ChronosetHostTest, WriteAssociationsReadsTheHostsLinks)
{
    LoadDevice(2);
    m_arrObjects[3].nObjectNumber = 251;
    CObjectCookieMap objects;
    EXPECT_EQ(m_set.WriteAssociations(&m_access, kDevice, m_arrObjects, objects, nullptr), 0);
    ASSERT_EQ(objects.GetSwitchableObjects().GetCount(), 3);
    ASSERT_EQ(objects.GetStaticObjects().GetCount(), 1);
    const CObjectLink* pLink = objects.GetSwitchableObjects().GetLink(1);
    EXPECT_EQ(pLink->m_nObjectNumber, 1);
    EXPECT_EQ(pLink->m_nRemoved, 1);
    EXPECT_EQ(pLink->m_nObjectTypeId, 901);
    ASSERT_EQ(pLink->GetGroupAddressCount(), 2u);
    EXPECT_EQ(pLink->m_arrGroupAddresses[0].m_nReference, 20);
    EXPECT_EQ(pLink->m_arrGroupAddresses[1].m_nReference, 21);
    EXPECT_EQ(objects.GetStaticObjects().GetLink(0)->m_nRemoved, 0);
    EXPECT_EQ(objects.GetStaticObjects().GetObjectId(0), kDevice + 4);
    // Nothing changed in the host.
    EXPECT_EQ(AssociationCount(0), 2);
}

TEST_F(ChronosetHostTest, LinkCommObjectNeedsTheObjectInTheMap)
{
    LoadDevice(0);
    CGroupDataAddress* pAddress = m_set.GetGroupDataAddresses()->CreateGroupAddress(false);
    pAddress->SetReference(21);
    pAddress->SetObjectNumber(2);
    CObjectNumberMap mapObjects;
    m_host.ClearCallLog();
    EXPECT_EQ(m_set.LinkCommObject(&m_access, mapObjects, pAddress), 5);
    EXPECT_TRUE(m_host.GetCallLog().empty());

    mapObjects[2] = kDevice + 3;
    EXPECT_EQ(m_set.LinkCommObject(&m_access, mapObjects, pAddress), 0);
    EXPECT_EQ(AssociationCount(2), 1);
    CComVariant vUpdate;
    m_host.FindCommObject(kDevice, 2)->GetProperty(CComBSTR("UpdateEnabled"), &vUpdate);
    EXPECT_FALSE(vUpdate.boolVal);

    // A day-routine trigger reads its value back.
    pAddress->AddUse(GAU_DAYROUTINE_TRIGGER);
    EXPECT_EQ(m_set.LinkCommObject(&m_access, mapObjects, pAddress), 0);
    m_host.FindCommObject(kDevice, 2)->GetProperty(CComBSTR("UpdateEnabled"), &vUpdate);
    EXPECT_TRUE(vUpdate.boolVal);

    CObjectLinkTable links;
    EXPECT_EQ(m_set.AddObjectLink(mapObjects, pAddress, links), 0);
    ASSERT_EQ(links.GetCount(), 1);
    EXPECT_EQ(links.GetObjectId(0), kDevice + 3);
    pAddress->SetObjectNumber(3);
    EXPECT_EQ(m_set.AddObjectLink(mapObjects, pAddress, links), 5);
}

TEST_F(ChronosetHostTest, FileAddressesBindToTheProjectsGroupTree)
{
    LoadDevice(0);
    CGroupDataAddresses* pAddresses = m_set.GetGroupDataAddresses();
    CGroupDataAddress* pKnown = pAddresses->CreateGroupAddress(false);
    pKnown->SetAddress(0x1002);  // 1/0/2 is id 21
    pKnown->SetObjectType(1);
    pKnown->SetReference(-1);
    CGroupDataAddress* pMissing = pAddresses->CreateGroupAddress(false);
    pMissing->SetAddress(0x1005);
    pMissing->SetObjectType(1);
    pMissing->SetReference(-1);

    bool bChanged = false;
    // No project: nothing binds and nothing moves.
    EXPECT_EQ(m_set.CheckGroupAddressesInProject(nullptr, &m_access, -1, bChanged), 5);
    EXPECT_FALSE(bChanged);
    EXPECT_EQ(pAddresses->GetCount(false), 2);

    EXPECT_EQ(m_set.CheckGroupAddressesInProject(nullptr, &m_access, 1, bChanged), 0);
    EXPECT_TRUE(bChanged);
    EXPECT_EQ(pKnown->GetReference(), 21);
    EXPECT_EQ(pKnown->GetName(), "GA 21");
    EXPECT_EQ(pAddresses->GetCount(false), 1);
    EXPECT_EQ(pAddresses->GetCount(true), 1);
    EXPECT_TRUE(pMissing->IsInvalid());
}
