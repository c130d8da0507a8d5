#include "model/EventTypesVocabulary.h"

#include <initializer_list>
#include <utility>

namespace {
struct EventGroup {
    int bit;
    const char* name;
    std::initializer_list<std::pair<const char*, const char*>> entries;
};

const EventGroup kEventGroups[] = {
    {1, "Birth and Death Events", {{"BIRT", "Birth"}, {"DEAT", "Death"}}},
    {2,
     "Other Personal Events",
     {{"ADOP", "Adoption"},       {"BAPM", "Baptism"},           {"BARM", "Bar Mitzvah"},
      {"BASM", "Bas Mitzvah"},    {"BLES", "Blessing"},          {"BURI", "Burial"},
      {"CENS", "Census"},         {"CHR", "Christening"},        {"CHRA", "Christening(Adult)"},
      {"CONF", "Confirmation"},   {"CREM", "Cremation"},         {"EMIG", "Emigration"},
      {"FCOM", "First Communion"}, {"GRAD", "Graduation"},       {"IMMI", "Immigration"},
      {"NATU", "Naturalisation"}, {"ORDN", "Ordination"},        {"PROB", "Probate"},
      {"RETI", "Retirement"},     {"WILL", "Will"},              {"_MILT", "Military Service"}}},
    {4,
     "Individual Attribute Events",
     {{"CAST", "Caste/Ethnic Origin"}, {"DSCR", "Description"}, {"EDUC", "Education"}, {"IDNO", "ID Number"},
      {"NATI", "Nationality"},         {"NCHI", "Num Children"}, {"NMR", "Num Marriages"}, {"OCCU", "Occupation"},
      {"PROP", "Property"},            {"RELI", "Religion"},    {"RESI", "Residence"},   {"SSN", "Soc.Sec.Number"},
      {"TITL", "Title"}}},
    {8,
     "LDS Individual Ordinances",
     {{"BAPL", "LDS Baptism"}, {"CONL", "LDS Confirmation"}, {"ENDL", "LDS Endowment"},
      {"SLGC", "LDS Sealing to Parents"}}},
    {16, "Marriage Event", {{"MARR", "Marriage"}}},
    {32,
     "Other Marriage Events",
     {{"ANUL", "Marriage Annulled"}, {"DIV", "Divorced"}, {"DIVF", "Divorce Filed"}, {"ENGA", "Engaged"},
      {"MARB", "Marriage Banns"}, {"MARC", "Marriage Contract"}, {"MARL", "Marriage Licence"},
      {"MARS", "Marriage Settlement"}}},
    {64, "LDS Marriage Event", {{"SLGS", "LDS Spouse Sealing"}}},
    {128, "Other Event", {{"EVEN", "Other Event"}}},
};
}

QMap<QString, QString> EventTypesVocabulary::dictionary(int mask)
{
    QMap<QString, QString> out;
    for (const EventGroup& g : kEventGroups)
        if (mask & g.bit)
            for (const auto& [tag, name] : g.entries)
                out.insert(QString::fromLatin1(tag), QString::fromLatin1(name));
    return out;
}

QString EventTypesVocabulary::groupName(int groupBit)
{
    for (const EventGroup& g : kEventGroups)
        if (g.bit == groupBit)
            return QString::fromLatin1(g.name);
    return {};
}

QString EventTypesVocabulary::nameForTag(const QString& tag)
{
    static const QMap<QString, QString> all = dictionary(-1);
    return all.value(tag);
}
