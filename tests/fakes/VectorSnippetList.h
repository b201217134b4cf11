#pragma once

#include "core/list/PlainSnippetList.h"

/** A snippet list over a QStringList, for core tests. */
using VectorSnippetList = PlainSnippetList;
