// Element descriptions and styles of a layout; one global holder keeps "ui/interface.xml".
#pragma once
class TiXmlElement;

class TUIInfoHolder {
public:
    bool Load(TiXmlElement* root);
};

TUIInfoHolder* GetInterfaceHolder();
