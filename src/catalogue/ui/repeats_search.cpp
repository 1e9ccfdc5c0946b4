#include "catalogue/ui/repeats_search.h"

#include "catalogue/catalogue_duplicates.h"
#include "scan/ui/scan_progress.h"

#include <QProgressBar>
#include <algorithm>
#include <functional>

namespace songwick {
namespace {

// Shows the bar empty, and hides it on every way out.
class ShownProgress {
public:
    explicit ShownProgress(QProgressBar* bar) : bar_(bar) {
        bar_->setValue(bar_->minimum());
        bar_->show();
    }
    ~ShownProgress() {
        bar_->setValue(bar_->maximum());
        bar_->hide();
    }
    ShownProgress(const ShownProgress&) = delete;
    ShownProgress& operator=(const ShownProgress&) = delete;

    void show(int done, int all) {
        const qint64 range = qint64(bar_->maximum()) - bar_->minimum();
        const int value = bar_->minimum() + int(range * done / std::max(all, 1));
        if (value == bar_->value())
            return;
        bar_->setValue(value);
        bar_->repaint();
    }

private:
    QProgressBar* bar_;
};

} // namespace

std::optional<std::vector<std::vector<int>>> findRepeatsWithProgress(const CatalogueGrid& grid,
                                                                     QProgressBar* bar) {
    ShownProgress progress(bar);
    std::optional<std::vector<std::vector<int>>> groups;
    runInterruptibly(bar, [&](const std::function<bool()>& stopRequested) {
        DuplicateSearch search;
        search.fileRead = [&progress](int read, int toRead) { progress.show(read, toRead); };
        search.interruptRequested = stopRequested;
        groups = repeatGroups(grid, std::move(search));
    });
    return groups;
}

} // namespace songwick
