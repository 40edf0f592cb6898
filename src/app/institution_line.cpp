#include "app/institution_line.h"

std::string InstitutionLine(const StationSettings& settings)
{
    if (settings.TessalineMode)
        return "";
    std::string line = "Zugeordnete Institution: " + settings.KV_Inst_Name + " (" + settings.KV_Inst_ID;
    if (settings.KorvidMode == 1)
        line += ", " + settings.KV_Inst_Abbrev;
    return line + ")";
}
