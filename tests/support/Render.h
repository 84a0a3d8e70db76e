#pragma once

#include <QString>

// A query's rows as one text, for comparing with an expected result:
// (v1,v2)(v1,v2)... with 'text', NULL, numbers, #yyyy-mm-dd# dates and @hh:mm:ss times.
QString Rows(const QString& sql);
