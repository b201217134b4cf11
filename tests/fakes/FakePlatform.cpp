// Gives the fakes library a translation unit of its own so moc output for the
// QObject-based fakes has somewhere to live.
#include "FakePlatform.h"
