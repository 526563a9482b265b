#include "game/stages.h"

#include "core/xml_document.h"

void LoadStages()
{
    LoadXmlDocument("stages.xml");
    DeleteCurrentXmlDocument();
}
