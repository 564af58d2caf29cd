#pragma once
// The common base of the framework's data objects: a virtual destructor and
// the name of the object's own class, which stands in for the framework's
// runtime class information (kind tests by class).

class CObject {
public:
    virtual ~CObject() = default;
    virtual const char* GetRuntimeClassName() const { return "CObject"; }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

// In a class body: reports the class's own name to kind tests.
#define DECLARE_RUNTIME_CLASS(className) \
    const char* GetRuntimeClassName() const override { return #className; }
