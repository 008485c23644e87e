#include "qt/qt_list_box.h"

#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTimer>
#include <utility>

namespace qlok::qt {

namespace {

// Sets a flag for the life of a scope.
class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = saved_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
    bool saved_;
};

// The view sizes every line like one sample line; the sample is the longest line, so that the
// list scrolls far enough sideways for all of them.
class LongestLineDelegate final : public QStyledItemDelegate {
  public:
    LongestLineDelegate(const LineListModel& model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int longest = model_.LongestRow();
        QSize size =
            QStyledItemDelegate::sizeHint(option, longest < 0 ? index : model_.index(longest, 0));
        // Longest in bytes is not always widest on screen: leave room for a few wide letters.
        size.rwidth() += 4 * option.fontMetrics.averageCharWidth();
        return size;
    }

  private:
    const LineListModel& model_;
};

}  // namespace

// Sees the mouse before the view does. The click is raised on the press, not the release: a
// handler that opens a modal box while the button is down means the release never comes.
class QtListBox::MouseFilter final : public QObject {
  public:
    MouseFilter(QtListBox& box, QObject* parent) : QObject(parent), box_(box) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
            type != QEvent::MouseButtonRelease) {
            return QObject::eventFilter(watched, event);
        }
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) {
            return true;  // only the left button selects
        }
        if (type != QEvent::MouseButtonRelease &&
            box_.view_->indexAt(mouse->position().toPoint()).isValid()) {
            box_.RaiseClick();  // one per press on a line, whether it selects a new one or not
        }
        return false;
    }

  private:
    QtListBox& box_;
};

QtListBox::QtListBox(QWidget* parent) : view_(new QListView(parent)), owned_(view_) {
    view_->setModel(&model_);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setUniformItemSizes(true);  // a long history is laid out without measuring each line
    view_->setItemDelegate(new LongestLineDelegate(model_, view_));
    view_->setTextElideMode(Qt::ElideNone);

    view_->viewport()->installEventFilter(new MouseFilter(*this, view_));
    // A new selection by the keyboard is a click; one made by dragging with the button down is
    // not, the press was.
    QObject::connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, view_,
                     [this](const QItemSelection& selected, const QItemSelection&) {
                         if (updating_ || selected.isEmpty() ||
                             QGuiApplication::mouseButtons() != Qt::NoButton) {
                             return;
                         }
                         RaiseClick();
                     });
}

QtListBox::~QtListBox() {
    delete owned_.data();
}

void QtListBox::RaiseClick() {
    if (clickPending_ || !onClick_) {
        return;
    }
    clickPending_ = true;
    // The handler reloads the list, which must not happen inside the view's own event.
    QTimer::singleShot(0, view_, [this] {
        clickPending_ = false;
        FlagScope guard(updating_);
        onClick_();
    });
}

void QtListBox::Clear() {
    FlagScope guard(updating_);
    model_.Clear();
}

void QtListBox::AddItem(const std::string& line) {
    FlagScope guard(updating_);
    model_.Append(line);
}

void QtListBox::SetItems(TextLines lines) {
    FlagScope guard(updating_);
    model_.SetItems(std::move(lines));
}

int QtListBox::NewIndex() const {
    return model_.rowCount() - 1;
}

void QtListBox::SetTopIndex(int index) {
    if (index < 0 || index >= model_.rowCount()) {
        return;
    }
    view_->scrollTo(model_.index(index), QAbstractItemView::PositionAtTop);
}

}  // namespace qlok::qt
