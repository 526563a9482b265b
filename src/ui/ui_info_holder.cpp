#include "ui/ui_info_holder.h"

bool TUIInfoHolder::Load(TiXmlElement* root) { return root != nullptr; }

TUIInfoHolder* GetInterfaceHolder()
{
    static TUIInfoHolder holder;
    return &holder;
}
