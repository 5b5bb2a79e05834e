#include "scene/PlayFieldView.h"

#include "scene/PlayField.h"

const std::map<std::string, CounterRecord>& PlayFieldView::Counters() const { return field->Rules().Counters(); }

const SceneKind& PlayFieldView::Kind() const { return field->Kind(); }

unsigned PlayFieldView::CountObjectsToFind() const { return field->CountObjectsToFind(); }

bool PlayFieldView::HasGlassToFind() const { return field->FindMagnifyingGlassObject() != nullptr; }

const hgeSprite* PlayFieldView::TaskSprite(const std::string& taskName) const { return field->GetTaskSprite(taskName); }

float PlayFieldView::TopDepth() const { return field->GetDepth() + PlayField::kDarkDepth; }

bool PlayFieldView::IsLive() const { return field->IsEnabled() && !field->IsDead() && !field->IsPaused(); }

const std::string& PlayFieldView::NextScene() const { return field->GetNextScene(); }
