// One item lying in the inventory bag: a resource sprite drawn by the bag at
// the item's absolute position.
#pragma once

#include <string>

#include "entities/widgets/CGUIEntity.h"

class hgeSprite;

class InventoryObject : public ZOLTFramework::CGUIEntity {
public:
    InventoryObject(const std::string& resourceName, const std::string& objectName, const std::string& toolName);

    void Render() override;

    hgeSprite* GetSprite() const { return sprite; }
    const std::string& GetToolName() const { return toolName; }
    const std::string& GetResourceName() const { return resourceName; }
    const std::string& GetObjectName() const { return objectName; }
    // False for an item added while every slot was taken: taking it frees no slot.
    bool HasSlot() const { return hasSlot; }
    void SetHasSlot(bool on) { hasSlot = on; }

private:
    hgeSprite* sprite;
    std::string toolName;
    std::string resourceName;
    std::string objectName;
    bool hasSlot = true;
};
