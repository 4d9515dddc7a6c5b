#include "support/session_fixture.h"
