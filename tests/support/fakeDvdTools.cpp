#include "support/fakeDvdTools.h"

FakeDvdTools::FakeDvdTools(std::string folder) : folder(std::move(folder)) {
    write();
}
