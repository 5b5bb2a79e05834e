#include "entities/core/CCountBase.h"

namespace ZOLTFramework {

int CCountBase::s_liveCount = 0;

CCountBase::CCountBase() { ++s_liveCount; }

CCountBase::CCountBase(const CCountBase&) { ++s_liveCount; }

CCountBase::~CCountBase() { --s_liveCount; }

int CCountBase::GetLiveCount() { return s_liveCount; }

}  // namespace ZOLTFramework
