// The base of everything that lives on screen or ticks with the frame: a local
// transform relative to an optional parent, two sort keys (layer and depth),
// a name, and the hidden, paused and enabled flags.
//
// Ownership: every entity is made through an owning call (EntityManager::Spawn
// or OpenScreen, or SpawnChild here for a part of an entity). The entity
// manager deletes the entities it owns; a part made while there is no manager
// is owned by its parent, which deletes it with itself. An entity deleted any
// other way (a member of a screen, say) takes itself out of the manager's
// lists and screen stack.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "entities/core/CCountBase.h"

class EntityManager;

namespace ZOLTFramework {

class EngineContext;

class CEntity : public CCountBase {
public:
    CEntity();
    CEntity(const CEntity&) = delete;
    CEntity& operator=(const CEntity&) = delete;
    ~CEntity() override;

    virtual void Update(float dt) {}
    virtual void Render() {}
    virtual bool IsAlive() { return !dead; }
    virtual void Hide();
    virtual void Show();
    virtual void Pause();
    virtual void Resume();
    virtual void GotFocus() {}
    virtual void LostFocus() {}
    virtual void OnAdded() {}
    virtual void OnAttached() {}
    // Forwarded to every child, in attach order.
    virtual void OnMove();
    virtual void OnScale();

    // Local values.
    float GetX() const { return x; }
    float GetY() const { return y; }
    float GetOpacity() const { return opacity; }
    float GetRotation() const { return rotation; }
    float GetScaleX() const { return scaleX; }
    float GetScaleY() const { return scaleY; }
    float GetDepth() const { return depth; }
    // The entity's own layer field (0 = inherit); GetLayer gives the effective one.
    float GetOwnLayer() const { return layer; }
    std::string GetName() const { return name; }
    void SetName(const std::string& n) { name = n; }

    void SetX(float value);
    void SetY(float value);
    void SetPosXY(float px, float py);
    void SetRotation(float value) { rotation = value; }
    void SetScaleX(float value);
    void SetScaleY(float value);
    void SetScale(float s);
    // Clamped to [0, 1].
    void SetOpacity(float value);
    void SetEnabled(bool value);
    bool SetUpdatable(bool value);
    // Both raise the entity manager's re-sort flag.
    void SetDepth(float value);
    void SetLayer(float value);

    // Place the entity at an absolute point. The parent's rotation is not
    // undone: exact only under an unrotated parent chain.
    void SetAbsoluteX(float ax);
    void SetAbsoluteY(float ay);
    void SetAbsolutePosition(float ax, float ay);

    // Values combined along the parent chain.
    float GetAbsoluteX() const;
    float GetAbsoluteY() const;
    float GetAbsoluteRotation() const;
    float GetAbsoluteOpacity() const;
    float GetAbsoluteScaleX() const;
    float GetAbsoluteScaleY() const;
    float GetAbsoluteScale() const;
    float GetAbsDepth() const;
    // The layer of the first entity of the chain (self, parent, ...) whose
    // layer is not 0; 0 when there is none.
    float GetLayer() const;
    bool IsPausedInChain() const;
    bool IsHiddenInChain() const;

    bool IsDead() const { return dead; }
    bool IsHidden() const { return hidden; }
    bool IsPaused() const { return paused; }
    bool IsEnabled() const { return enabled; }

    EngineContext* GetEngine() const { return engine; }
    // The engine's entity manager, or null without an engine or one.
    EntityManager* Manager() const;
    CEntity* GetParent() const { return parent; }
    const std::vector<CEntity*>& GetChildren() const { return children; }

    // Makes this entity the last child of p. Null is ignored; so are p == this
    // and p inside this entity's own subtree (a cycle), with a Warning row.
    void AttachTo(CEntity* p);
    // Leaves the parent; registration and position are not re-evaluated.
    void Detach();
    // Marks this entity and its whole subtree dead.
    void Kill();
    // Enters or leaves the manager's draw list: in it exactly when enabled,
    // not dead, not hidden and no ancestor hidden. Recurses into the children.
    void UpdateRegistration();

    // Creates a part of this entity: attached as its last child and owned by
    // the entity manager, or by this entity when there is no manager. Such a
    // part is deleted by whichever parent it is attached to when that parent
    // goes; one detached for good is its detacher's to delete.
    template <class T, class... Args>
    T* SpawnChild(Args&&... args) {
        T* child = new T(std::forward<Args>(args)...);
        TakeChild(child);
        return child;
    }

    // The first entity of type T named so in this entity's subtree (children
    // before grandchildren, in attach order), or null.
    template <class T = CEntity>
    T* FindChild(const std::string& childName) const {
        std::vector<const CEntity*> level{this};
        while (!level.empty()) {
            std::vector<const CEntity*> next;
            for (const CEntity* e : level) {
                for (CEntity* child : e->children) {
                    if (child->name == childName)
                        if (T* found = dynamic_cast<T*>(child)) return found;
                    next.push_back(child);
                }
            }
            level.swap(next);
        }
        return nullptr;
    }

    // Expires when this entity is destroyed; delayed calls hold it to know
    // whether their owner still exists.
    std::weak_ptr<void> GetLifeToken();

    // Local transform, read and written freely by the entity's users.
    float x = 0.0f;
    float y = 0.0f;
    float rotation = 0.0f;
    float opacity = 1.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    std::string name;

protected:
    float depth = 0.0f;
    float layer = 0.0f;
    bool dead = false;
    bool hidden = false;
    bool paused = false;
    bool enabled = true;
    bool updatable = true;
    EngineContext* engine = nullptr;
    std::vector<CEntity*> children;
    CEntity* parent = nullptr;


private:
    friend class ::EntityManager;

    // Attaches the child and hands it to the manager, or keeps it as a part
    // this entity deletes when there is no manager.
    void TakeChild(CEntity* child);

    // Bookkeeping of the manager that tracks this entity.
    bool registered = false;
    EntityManager* m_tracker = nullptr;  // manager whose lists or stack hold this entity
    bool m_owned = false;                // handed over with Add (pending or merged)
    bool m_ownedByParent = false;        // a part made without a manager: the parent deletes it
    int m_drawIndex = -1;                // slot in the tracker's draw list
    int m_stackCount = 0;                // occurrences on the tracker's screen stack
    unsigned long long m_joinOrder = 0;  // when it joined a manager (0: never); the last draw key
    float m_drawLayer = 0;               // effective layer and absolute depth as the last draw sort
    float m_drawDepth = 0;               // took them (they walk the parent chain: once per sort)
    std::shared_ptr<char> m_lifeToken;
};

}  // namespace ZOLTFramework
