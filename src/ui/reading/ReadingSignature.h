#pragma once

#include "base/UserPrompts.h"

#include <QString>

class QAction;
class QMenu;
class QWidget;

#include <string>

// Signing the readings the reading window saves.
namespace nkp::ui {

// The private key file of the setting "Подпись" (QSettings key
// "signing/key"), or of NKP_SIGNING_KEY when the setting is empty; empty:
// readings are not signed.
QString signingKeyPath();
void setSigningKeyPath(const QString& path);

// "Подпись..." in `fileMenu` before `before`: chooses the key file of the
// setting; the key's public file beside it must name the signer.
QAction* installSigningKeyMenu(QWidget& window, QMenu& fileMenu, QAction* before, UserPrompts& prompts);

// Signs the data file `path`, saved by a reading on `port`. The key is read
// once per run of the program; a protected key asks for its passphrase
// through `prompts` then (again only after a wrong one). Returns the words
// for the status line: empty when no key is set, "подписан", or "не
// подписан: ..." (also shown as an error box: the data file stays saved).
QString signSavedReading(const std::string& path, const std::string& port, UserPrompts& prompts);

}  // namespace nkp::ui
