#pragma once

namespace scorvane {
class RecoveryCopier;
class RecoveryStore;
}  // namespace scorvane

namespace scorvane::designer {

class DesignerWindow;

// Gives the designer's window its recovery copies: every edit of the template asks for one (made and
// written on the store's writer thread); 新建, 打开, a save and a close that keeps no change remove it;
// "退出(&X)", which asks nothing, first writes the changes not yet copied, so that the next start
// offers them.
RecoveryCopier* AttachTemplateCopier(DesignerWindow& window, RecoveryStore& store);

// The window's copier (nullptr when it has none).
RecoveryCopier* TemplateCopierOf(const DesignerWindow& window);

}  // namespace scorvane::designer
