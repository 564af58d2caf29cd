#pragma once
// The sub groups (group addresses) that the host project holds under one
// middle group, or under one main group with two-level addresses (table
// type 18), read through the host data access. Rows whose address the
// parametrisation already holds are marked listed and cannot be selected;
// the others are taken over by "Übernehmen", which the owning insertion
// dialog carries out (SubGroupTableOwner.h).

#include "editors/groups/SubGroupTableOwner.h"
#include "ui/MainTableBox.h"

#include <memory>
#include <string>
#include <vector>

class CGroupDataAddress;
class CSubGroupEntry;
struct IEtsMiddleGroup;

class CSubGroupTable : public CMainTableBox {
    Q_OBJECT

public:
    static constexpr int kTableType = 18;
    static constexpr int kMaxRows = 2048;
    static constexpr int kColumnCount = 6;
    // The button bar's "Übernehmen".
    static constexpr UINT kApplyButtonId = 1256;
    // Row images of bitmap 208.
    static constexpr int kListedImage = 0;
    static constexpr int kSubGroupImage = 2;

    // The middle group's host id (a main group's with two-level addresses).
    explicit CSubGroupTable(int nGroupId);
    ~CSubGroupTable() override;

    // Whether the parametrisation holds the raw address already: the valid
    // list or the internal clock has it.
    static bool IsAddressListed(LONG nRawAddress);

    int OnCreate() override;
    bool InitColumns() override;
    bool FillTable() override;
    void RefreshTable() override;
    void GetEntryStrings(CObject* pObject, std::vector<std::string>& texts) override;
    int CompareItems(int nColumn, int nRowA, int nRowB) override;
    void OnPaneCommand(int nCode) override;
    void OnApply() override;
    void OnUpdateApply(CCmdUI* pCmdUI) override;

    // Deselects the selected listed rows and counts the others.
    int CountSelectableRows();
    // Enables the button bar's "Übernehmen" when a selected row can be taken.
    void UpdateApplyButton();
    // An entry "Übernehmen" took: listed from now on, with its image.
    void MarkEntryListed(CSubGroupEntry* pEntry);
    // The first address the last "Übernehmen" added; the owning dialog's
    // result from then on.
    void SetFirstAddedAddress(CGroupDataAddress* pAddress);
    CGroupDataAddress* GetFirstAddedAddress() const { return m_pFirstAdded; }

    const SubGroupTableOptions& GetOptions() const { return m_options; }
    void SetOptions(const SubGroupTableOptions& options) { m_options = options; }
    ISubGroupTableOwner* GetOwner() const { return m_pOwner; }
    int GetGroupId() const { return m_nGroupId; }
    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void keyReleaseEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;

private:
    // Reads the group addresses of one middle group; false ends the fill.
    bool AddSubGroups(IEtsMiddleGroup* pMiddleGroup, LONG nMainAddress, LONG nMiddleAddress, LONG nMiddleId,
                      int nLevels);
    void RunApply();
    ISubGroupTableOwner* FindOwner() const;

    int m_nGroupId = -1;
    SubGroupTableOptions m_options;
    ISubGroupTableOwner* m_pOwner = nullptr;
    CGroupDataAddress* m_pFirstAdded = nullptr;
    std::vector<std::unique_ptr<CSubGroupEntry>> m_entries;
};
