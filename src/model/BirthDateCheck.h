#pragma once

#include "model/Dates.h"

class FTPerson;

// The person whose birth date is being typed, as the date check sees them: the names, the gender, and the births
// of the children and parents of every link type. Empty without a person.
Dates::Person BirthDateCheckPerson(const FTPerson* person);
