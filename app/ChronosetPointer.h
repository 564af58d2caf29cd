#pragma once
// g_pChronoset, the open device, as the layers above the model use it: a
// CChronoset* in all but name. It keeps no pointer of its own but reads and
// writes the data sets' g_pChronosetServices, so the two never name
// different devices. Not copyable, so that "keep the old one" can only take
// the pointer, never a second view of the global.

class CChronoset;

class CChronosetPointer {
public:
    constexpr CChronosetPointer() = default;
    CChronosetPointer(const CChronosetPointer&) = delete;
    CChronosetPointer& operator=(const CChronosetPointer&) = delete;

    CChronosetPointer& operator=(CChronoset* pChronoset);
    operator CChronoset*() const;
    CChronoset* operator->() const { return *this; }
    CChronoset& operator*() const { return *static_cast<CChronoset*>(*this); }
};

extern CChronosetPointer g_pChronoset;
