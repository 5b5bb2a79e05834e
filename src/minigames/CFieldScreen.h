// A game field entity that reports to one field listener.
#pragma once

#include <string>

#include "entities/core/CEntity.h"
#include "entities/core/Listeners.h"

namespace ZOLTFramework {

class CFieldScreen : public CEntity {
public:
    CFieldScreen(const std::string& fieldName, CFieldListener* fieldListener);
    ~CFieldScreen() override = default;

    void Update(float) override {}
    // Tells the listener that the field has been cleared.
    virtual void Clear();
    virtual bool IsFinished();


protected:
    CFieldListener* listener;
};

}  // namespace ZOLTFramework
