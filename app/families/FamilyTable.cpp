#include "app/families/FamilyTable.h"

const std::vector<const InstrumentFamily*>& instrumentFamilies() {
    static const std::vector<const InstrumentFamily*> families = {
        &kKorvelFamily,
        &kTassinFamily,
    };
    return families;
}
