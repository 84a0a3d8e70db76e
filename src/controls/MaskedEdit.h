#pragma once

class QLineEdit;

// Password boxes show every character as '#'.
void MaskWithHash(QLineEdit* edit);
