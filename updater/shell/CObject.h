// Roots of the updater's small window toolkit: every toolkit object can name
// its run-time class, and command targets are the objects that take part in
// command routing.
#pragma once

class CObject {
public:
    virtual ~CObject() = default;
    virtual const char* GetRuntimeClassName() const { return "CObject"; }
};

class CCmdTarget : public CObject {
public:
    const char* GetRuntimeClassName() const override { return "CCmdTarget"; }
};
