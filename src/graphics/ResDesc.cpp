#include "graphics/ResDesc.h"

ResDesc::ResDesc() : hge(hgeCreate(HGE_VERSION)) {}

ResDesc::ResDesc(const ResDesc& other)
    : name(other.name), resgroup(other.resgroup), handle(other.handle), hge(hgeCreate(HGE_VERSION)) {}

ResDesc::~ResDesc() { hge->Release(); }
