#include "screens/NodeAnimationRecord.h"

#include "engine/Conversions.h"

NodeAnimationRecord NodeAnimationRecord::FromAttributes(const std::map<std::string, std::string>& attributes) {
    NodeAnimationRecord record;
    const std::map<std::string, std::string*> names = {
        {"StaffStart", &record.staffStart},         {"StaffIntermediate", &record.staffIntermediate},
        {"StaffFinish", &record.staffFinish},       {"BannerStart", &record.bannerStart},
        {"BannerIntermediate", &record.bannerIntermediate}, {"BannerFinish", &record.bannerFinish},
        {"StaffMoving", &record.staffMoving},       {"BannerMoving", &record.bannerMoving},
        {"StaffStaying", &record.staffStaying},     {"BannerStaying", &record.bannerStaying},
    };
    const std::map<std::string, float*> offsets = {
        {"FlyingFromDx", &record.flyingFromDx}, {"FlyingFromDy", &record.flyingFromDy},
        {"FlyingToDx", &record.flyingToDx},     {"FlyingToDy", &record.flyingToDy},
        {"MovingDx", &record.movingDx},         {"MovingDy", &record.movingDy},
        {"StayingDx", &record.stayingDx},       {"StayingDy", &record.stayingDy},
    };
    for (const auto& attribute : attributes) {
        const auto name = names.find(attribute.first);
        if (name != names.end()) *name->second = attribute.second;
        const auto offset = offsets.find(attribute.first);
        if (offset != offsets.end()) *offset->second = StringToFloat(attribute.second);
    }
    return record;
}
