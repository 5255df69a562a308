#include "TovoRecht.h"

std::shared_ptr<CTovoRecht> goRecht;
