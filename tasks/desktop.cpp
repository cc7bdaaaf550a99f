#include "tasks/desktop.h"

#include "ui/carving_tools.h"
#include "ui/category_tree.h"
#include "ui/log_pane.h"
#include "ui/progress_dialog.h"
#include "ui/result_pane.h"
#include "ui/search_hit_dock.h"

namespace velkor {
namespace {

ProgressDialog* MakeProgressDialog(QWidget* window) {
  auto* dialog = new ProgressDialog(window);
  dialog->setObjectName(QStringLiteral("progressDialog"));
  return dialog;
}

}  // namespace

Desktop::Desktop()
    : progress_(MakeProgressDialog(&window_)),
      controller_(TaskViews{&window_, &window_.Categories(), &window_.Results(), progress_,
                            &window_.Log().Sink()}) {
  window_.SetCommandTarget(&controller_);
  controller_.SetSearchHitView(&window_.SearchHits());
  controller_.SetCarvingView(&window_.Carving());
  progress_->SetStopTarget(&controller_);
}

}  // namespace velkor
