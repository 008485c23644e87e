#include "qt/qt_list_box.h"

#include "app/layout.h"
#include "qt/qt_controls.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextOption>
#include <QTimer>
#include <utility>

namespace qlok::qt {

namespace {

// The space the style keeps on either side of an item's text.
int TextMargin(const QWidget* widget) {
    const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
}

// A Windows list box's tab stops: every 8 average character widths of the control font. A font
// standing in for it keeps them: theirs are wider (6 pixels for Liberation Sans) and would push
// the comparison lines, laid out for these stops, past the list's right edge.
constexpr int kTabStop = layout::kListTabStop;

// The pixels the text takes drawn in the font, with the margins on either side.
int ShownWidth(const QFont& font, const QWidget* widget, const QString& text) {
    return QFontMetrics(font)
               .size(Qt::TextSingleLine | Qt::TextExpandTabs, text, kTabStop)
               .width() +
           2 * TextMargin(widget);
}

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

// Draws and sizes lines with the tab stops of a Windows list box; Qt's own are 80 pixels apart,
// which pushes the comparison lines past the list's right edge. The view sizes every line like
// the longest, so that the list scrolls far enough sideways for all of them.
class LineDelegate final : public QStyledItemDelegate {
  public:
    LineDelegate(const LineListModel& model, QObject* parent)
        : QStyledItemDelegate(parent), model_(model) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int longest = model_.LongestRow();
        QStyleOptionViewItem item = option;
        initStyleOption(&item, longest < 0 ? index : model_.index(longest, 0));
        const QString text = std::exchange(item.text, QStringLiteral(" "));
        QSize size = QStyledItemDelegate::sizeHint(item, index);  // the height of a line
        // Most characters are not widest on screen: leave room for a few wide letters.
        size.setWidth(ShownWidth(item.font, item.widget, text) +
                      4 * item.fontMetrics.averageCharWidth());
        return size;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = std::exchange(item.text, QString());
        const QWidget* widget = item.widget;
        QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);  // all but the text
        const QPalette::ColorGroup group =
            !item.state.testFlag(QStyle::State_Enabled) ? QPalette::Disabled
            : item.state.testFlag(QStyle::State_Active) ? QPalette::Active
                                                        : QPalette::Inactive;
        QTextOption layout(Qt::AlignLeft | Qt::AlignVCenter);
        layout.setWrapMode(QTextOption::NoWrap);
        layout.setTabStopDistance(kTabStop);
        const int margin = TextMargin(widget);
        painter->save();
        painter->setFont(item.font);
        painter->setPen(item.palette.color(group, item.state.testFlag(QStyle::State_Selected)
                                                      ? QPalette::HighlightedText
                                                      : QPalette::Text));
        painter->drawText(QRectF(item.rect.adjusted(margin, 0, -margin, 0)), text, layout);
        painter->restore();
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
    view_->setItemDelegate(new LineDelegate(model_, view_));
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

int QtListBox::ShownWidth(const std::string& line) const {
    return qt::ShownWidth(view_->font(), view_, FromLocal(ShownLine(line)));
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
