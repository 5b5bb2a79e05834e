// Counts the live objects of the framework. The engine prints the count after
// it has deleted the entity manager: anything above 0 there was never freed.
#pragma once

namespace ZOLTFramework {

class CCountBase {
public:
    CCountBase();
    CCountBase(const CCountBase&);
    CCountBase& operator=(const CCountBase&) = default;
    virtual ~CCountBase();

    // Number of CCountBase objects alive right now.
    static int GetLiveCount();

private:
    static int s_liveCount;
};

}  // namespace ZOLTFramework
