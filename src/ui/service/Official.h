#pragma once

#include <QDialog>

#include <cstdint>
#include <vector>

class QPlainTextEdit;

// The service information window: a hex dump of the recorder's service area
// of the loaded file.
class TForm_Official : public QDialog {
    Q_OBJECT
public:
    explicit TForm_Official(QWidget* parent = nullptr);

    // `serviceArea` holds the bytes from offset `baseOffset` on.
    void showServiceArea(const std::vector<std::uint8_t>& serviceArea, std::size_t baseOffset);

private:
    QPlainTextEdit* Memo_Official = nullptr;
};
