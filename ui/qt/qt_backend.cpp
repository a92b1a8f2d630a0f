#include "ui/qt/qt_backend.h"

#include "ui/media.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/qt_fit.h"
#include "ui/qt/qt_look.h"
#include "ui/qt/qt_sound.h"
#include "ui/runtime.h"
#include "ui/value.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDateTime>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QIconEngine>
#include <QImageReader>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStorageInfo>
#include <QTextDocument>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QUrl>
#include <QValidator>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <optional>
#include <utility>

namespace ui::qt {

namespace {

const char* const k_control = "jsb_control";
// The whole text of a one-line box or a label that shows it shorter.
const char* const k_whole = "jsb_whole";

void tag(QWidget* w, Control* c) { w->setProperty(k_control, QVariant::fromValue(static_cast<void*>(c))); }

struct SyncScope {
    int& depth;
    explicit SyncScope(int& d) : depth(d) { ++depth; }
    ~SyncScope() { --depth; }
};

// Key flags of the mouse and wheel events: 1 Ctrl, 2 Shift, 4 Alt.
int key_flags(Qt::KeyboardModifiers m)
{
    return (m & Qt::ControlModifier ? 1 : 0) | (m & Qt::ShiftModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

bool numeric_box(const Control& c) { return c.kind == Kind::EditBox && (c.input_mode == 9 || c.input_mode == 10); }
// A character a number box takes when typed (typed_number).
bool numeric_char(QChar ch) { return !typed_number(QString(ch).toStdString()).empty(); }
bool control_char(QChar ch) { return ch.unicode() < 0x20 || ch.unicode() == 0x7F; }

// The wheel never gives a widget the focus (a list the pointer passes over
// would take it, and with it the next turn meant for the page): only a
// click or the keyboard does.
void no_wheel_focus(QWidget* w)
{
    auto strong = [](QWidget* x) {
        if ((x->focusPolicy() & Qt::WheelFocus) == Qt::WheelFocus) x->setFocusPolicy(Qt::StrongFocus);
    };
    strong(w);
    for (QWidget* k : w->findChildren<QWidget*>()) strong(k);
}

bool wants_multiline(const Control& c)
{
    return c.multiline || c.text.find('\n') != std::string::npos || c.text.find('\r') != std::string::npos;
}

bool line_break(QChar ch) { return ch == QChar('\n') || ch == QChar('\r'); }

// What a user's edit may put into a one-line box, however it comes (keys,
// the input method, a paste, a drop). A number box takes what is typed
// character by character as typed_number says (full-width forms and "。"
// as ASCII; any other key types nothing), and a pasted text as the number
// it writes (blanks, no-break spaces and a line end around a copied figure
// dropped, "1,234.5" and "1.5E+03" written out, see pasted_number);
// anything else is refused whole, and a tip under the box says so. A text
// box takes a pasted text without its line ends, as one line. Only what the
// edit inserts is judged: a text the program wrote stays as it is, and so
// does a text undo or redo brings back.
//
// What the box takes in place of what was typed or pasted goes in as an
// edit of its own (keys and commits mapped before the box sees them, a
// paste through Ctrl+V or the context menu converted before it is
// inserted): a text the filter changes after the fact would drop the box's
// undo history.
class EntryValidator : public QValidator {
public:
    EntryValidator(bool numeric, const int& syncing, QLineEdit* box)
        : QValidator(box), numeric_(numeric), syncing_(syncing), box_(box)
    {
        box->installEventFilter(this);
    }
    void set_numeric(bool numeric) { numeric_ = numeric; }
    // The text the box holds now (the part before an edit is kept from it).
    void shown(const QString& t) { was_ = t; }

    State validate(QString& input, int& pos) const override
    {
        // The program's own writes (with the box's signals blocked), and
        // the texts undo and redo bring back.
        if (syncing_ > 0 || restoring_ > 0) {
            was_ = input;
            return Acceptable;
        }
        const auto [pre, post] = edited_range(input);
        const QString added = input.mid(pre, input.size() - pre - post);
        const bool typed = !typed_.isEmpty() && added == typed_;
        typed_.clear();
        const std::optional<QString> kept = taken(added, typed);
        if (!kept) {
            refused(added);
            return Invalid;
        }
        if (*kept != added) {
            input = input.left(pre) + *kept + input.right(post);
            if (pos >= pre + added.size()) pos -= added.size() - kept->size();
            else pos = std::min(pos, int(pre + kept->size()));
        }
        return Acceptable;
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::KeyPress: case QEvent::InputMethod: case QEvent::Drop: case QEvent::MouseButtonRelease:
        case QEvent::ContextMenu:
            note_edit_place();
            break;
        default:
            return false;
        }
        typed_.clear();
        if (e->type() == QEvent::KeyPress) return key(static_cast<QKeyEvent*>(e));
        if (e->type() == QEvent::InputMethod) {
            auto* im = static_cast<QInputMethodEvent*>(e);
            QString commit = im->commitString();
            if (numeric_ && !commit.isEmpty()) {
                const std::string mapped = typed_number(commit.toStdString());
                if (!mapped.empty() && QString::fromStdString(mapped) != commit) {
                    commit = QString::fromStdString(mapped);
                    im->setCommitString(commit, im->replacementStart(), im->replacementLength());
                }
            }
            typed_ = commit;
            return false;
        }
        if (e->type() == QEvent::ContextMenu) return context_menu(static_cast<QContextMenuEvent*>(e));
        return false;
    }

private:
    // Where the next edit goes (the selection it replaces, or the cursor),
    // taken as the action that makes it reaches the box.
    void note_edit_place()
    {
        if (box_->hasSelectedText()) {
            from_ = box_->selectionStart();
            to_ = from_ + box_->selectedText().size();
        } else {
            from_ = to_ = box_->cursorPosition();
        }
    }

    // What the box takes of `added`, typed or pasted; nothing when it
    // refuses it.
    std::optional<QString> taken(const QString& added, bool typed) const
    {
        if (!numeric_) {
            qsizetype a = 0, b = added.size();
            while (a < b && line_break(added[a])) ++a;
            while (b > a && line_break(added[b - 1])) --b;
            QString kept = added.mid(a, b - a);
            kept.replace(QLatin1String("\r\n"), QLatin1String(" "));
            for (QChar& ch : kept)
                if (line_break(ch)) ch = QChar(' ');
            return kept;
        }
        // Blanks alone type nothing.
        if (added.trimmed().isEmpty()) return QString();
        const std::string utf8 = added.toStdString();
        const std::string kept = typed ? typed_number(utf8) : pasted_number(utf8);
        if (kept.empty()) return std::nullopt;
        return QString::fromStdString(kept);
    }

    bool key(QKeyEvent* ke)
    {
        if (box_->isReadOnly()) return false;
        if (ke->matches(QKeySequence::Paste)) {
            paste(false);
            return true;
        }
        if (ke->matches(QKeySequence::Undo) || ke->matches(QKeySequence::Redo)) {
            restore(ke->matches(QKeySequence::Undo));
            return true;
        }
        if (ke->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false; // a shortcut types nothing
        const QString text = ke->text();
        if (text.isEmpty() || std::any_of(text.begin(), text.end(), control_char)) return false;
        if (numeric_) {
            const std::string mapped = typed_number(text.toStdString());
            // A key that cannot be part of a number types nothing, and the
            // tip names it (a blank needs none).
            if (mapped.empty()) {
                if (!text.trimmed().isEmpty()) refused(text);
                return true;
            }
            // A full-width key or "。" goes in as the ASCII key it stands for.
            if (QString::fromStdString(mapped) != text) {
                QKeyEvent ascii(ke->type(), ke->key(), ke->modifiers(), QString::fromStdString(mapped), ke->isAutoRepeat(),
                                ushort(ke->count()));
                QCoreApplication::sendEvent(box_, &ascii);
                return true;
            }
        }
        typed_ = text;
        return false;
    }

    // The clipboard's text where the cursor or selection is, as the box
    // takes it: refused with the tip, or inserted as one undo step.
    void paste(bool from_menu)
    {
        const QString text = QGuiApplication::clipboard()->text();
        const std::optional<QString> kept = taken(text, false);
        if (!kept) {
            if (from_menu) refused_after_menu(text);
            else refused(text);
            return;
        }
        if (*kept == text) {
            box_->paste();
            return;
        }
        // The box's own paste starts and ends an undo step; moving the
        // cursor is what does that from outside.
        separate_undo();
        box_->insert(*kept);
        separate_undo();
    }

    // The desktop gives the window its focus back only after the menu has
    // closed, and the pointer crosses from where the menu was onto the
    // form: each hides a tip. While that settles, a tip hidden is shown
    // again, until the user's next key, click or wheel turn, or a second on.
    void refused_after_menu(const QString& text)
    {
        class Settling : public QObject {
        public:
            Settling(EntryValidator* v, QString text) : QObject(v), v_(v), text_(std::move(text))
            {
                qApp->installEventFilter(this);
                QTimer::singleShot(1000, this, [this] { stop(); });
                show();
            }

        protected:
            bool eventFilter(QObject* o, QEvent* e) override
            {
                switch (e->type()) {
                case QEvent::KeyPress: case QEvent::MouseButtonPress: case QEvent::Wheel: stop(); break;
                case QEvent::Hide:
                    if (o->objectName() == QLatin1String("qtooltip_label")) show();
                    break;
                default: break;
                }
                return false;
            }

        private:
            void show()
            {
                QTimer::singleShot(0, this, [this] {
                    if (!done_ && v_->box_->hasFocus() && !QToolTip::isVisible()) v_->refused(text_);
                });
            }
            void stop()
            {
                done_ = true;
                deleteLater();
            }
            EntryValidator* v_;
            QString text_;
            bool done_ = false;
        };
        new Settling(this, text);
    }

    void separate_undo()
    {
        if (box_->hasSelectedText() || box_->text().isEmpty()) return; // removing a selection starts one itself
        const int at = box_->cursorPosition();
        box_->setCursorPosition(at > 0 ? at - 1 : at + 1);
        box_->setCursorPosition(at);
    }

    void restore(bool undo)
    {
        ++restoring_;
        undo ? box_->undo() : box_->redo();
        --restoring_;
    }

    // The box's own menu, with its paste judged as Ctrl+V's and its undo
    // and redo bringing texts back as the keys do.
    bool context_menu(QContextMenuEvent* ce)
    {
        QMenu* menu = box_->createStandardContextMenu();
        if (!menu) return true;
        // The menu's actions are known by their texts, as Qt names them.
        for (QAction* a : menu->actions()) {
            const QString name = a->text().section(QLatin1Char('\t'), 0, 0);
            const bool paste = name == QLineEdit::tr("&Paste"), undo = name == QLineEdit::tr("&Undo");
            if (!paste && !undo && name != QLineEdit::tr("&Redo")) continue;
            QObject::disconnect(a, &QAction::triggered, box_, nullptr);
            if (paste) QObject::connect(a, &QAction::triggered, this, [this] { this->paste(true); });
            else QObject::connect(a, &QAction::triggered, this, [this, undo] { restore(undo); });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(ce->globalPos());
        return true;
    }

    // The part of the text before and after what an edit put in: around the
    // selection or cursor the edit started from where the texts agree with
    // it (a pasted "1,234.5" over "12" is all of it, not ",234.5"), else
    // what the old and new texts share at both ends.
    std::pair<qsizetype, qsizetype> edited_range(const QString& input) const
    {
        const qsizetype tail = was_.size() - to_;
        if (from_ >= 0 && from_ <= to_ && to_ <= was_.size() && input.size() >= from_ + tail &&
            QStringView(input).left(from_) == QStringView(was_).left(from_) &&
            QStringView(input).right(tail) == QStringView(was_).right(tail))
            return {from_, tail};
        qsizetype n = std::min(input.size(), was_.size()), pre = 0, post = 0;
        while (pre < n && input[pre] == was_[pre]) ++pre;
        while (post < n - pre && input[input.size() - 1 - post] == was_[was_.size() - 1 - post]) ++post;
        return {pre, post};
    }

    // The box keeps what it held; the tip names what was not taken.
    void refused(const QString& added) const
    {
        QString what = added.simplified();
        if (what.size() > 20) what = what.left(20) + QStringLiteral("…");
        const QString tip = QStringLiteral("“%1”不是一个数，未输入").arg(what);
        QToolTip::showText(box_->mapToGlobal(QPoint(0, box_->height())), tip, box_);
    }

    bool numeric_;
    const int& syncing_;
    QLineEdit* box_;
    mutable QString was_;
    // The text of the key or input-method commit being made: an edit that
    // inserts just that was typed.
    mutable QString typed_;
    int restoring_ = 0;
    qsizetype from_ = -1, to_ = -1;
};

void guard_entry(QLineEdit* e, const Control& c, const int& syncing)
{
    auto* v = new EntryValidator(numeric_box(c), syncing, e);
    v->shown(e->text());
    QObject::connect(e, &QLineEdit::textChanged, v, &EntryValidator::shown);
    e->setValidator(v);
}

// The cursor numbers of the forms, in the order Windows lists its shapes.
void apply_cursor(QWidget* w, int pointer)
{
    static const Qt::CursorShape shapes[] = {
        Qt::ArrowCursor, Qt::ArrowCursor, Qt::CrossCursor, Qt::IBeamCursor, Qt::BusyCursor, Qt::SizeAllCursor,
        Qt::SizeVerCursor, Qt::SizeHorCursor, Qt::SizeFDiagCursor, Qt::SizeBDiagCursor, Qt::ForbiddenCursor,
        Qt::WaitCursor, Qt::UpArrowCursor, Qt::PointingHandCursor, Qt::WhatsThisCursor,
    };
    if (pointer <= 0 || pointer >= int(std::size(shapes))) w->unsetCursor();
    else w->setCursor(shapes[pointer]);
}

void set_colors(QWidget* w, QPalette::ColorRole text_role, const QColor& text, QPalette::ColorRole back_role,
                const QColor* back)
{
    static constexpr QPalette::ColorGroup groups[] = {QPalette::Active, QPalette::Inactive, QPalette::Disabled};
    const QPalette& now = w->palette();
    bool same = true;
    for (auto g : groups)
        same = same && now.color(g, text_role) == text &&
               (text_role != QPalette::Text || now.color(g, QPalette::PlaceholderText) == text) &&
               (!back || now.color(g, back_role) == *back);
    if (same) return; // a palette set anew costs every widget its own copy
    QPalette p = now;
    // The same colours in every state: a read-only or disabled box keeps
    // the colour the program wrote (results and verdicts stay readable).
    for (auto g : groups) {
        p.setColor(g, text_role, text);
        if (text_role == QPalette::Text) p.setColor(g, QPalette::PlaceholderText, text);
        if (back) p.setColor(g, back_role, *back);
    }
    w->setPalette(p);
}

QIcon icon_from(const Bytes& ico)
{
    QIcon icon;
    QByteArray bytes = QByteArray::fromRawData(ico.data(), qsizetype(ico.size()));
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf);
    for (int i = 0; i < std::max(1, reader.imageCount()); ++i) {
        QImage img = reader.read();
        if (img.isNull()) break;
        icon.addPixmap(QPixmap::fromImage(img));
        if (!reader.jumpToNextImage()) break;
    }
    return icon;
}

// A window icon read from its ICO when first asked for: the program's icon
// holds a dozen images, and a window system that never draws it (or a
// window that never shows) should not pay for decoding them.
class IcoIconEngine : public QIconEngine {
public:
    explicit IcoIconEngine(Bytes ico) : ico_(std::move(ico)) {}
    void paint(QPainter* p, const QRect& r, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(p, r, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override { return icon().availableSizes(mode, state); }
    QIconEngine* clone() const override { return new IcoIconEngine(ico_); }
    QString key() const override { return QStringLiteral("jsb_ico"); }
    bool isNull() override { return ico_.empty(); }

private:
    const QIcon& icon()
    {
        if (!read_) {
            read_ = true;
            icon_ = icon_from(ico_);
        }
        return icon_;
    }
    Bytes ico_;
    QIcon icon_;
    bool read_ = false;
};

// "图片（.png）|*.png|所有文件|*.*" -> "图片（.png） (*.png);;所有文件 (*.*)"
QString dialog_filter(const std::string& f)
{
    QStringList parts = QString::fromStdString(f).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    return out.join(";;");
}

bool is_tool_border(Border b) { return b == Border::tool_fixed || b == Border::tool_resizable; }
bool is_fixed_border(Border b) { return b == Border::fixed || b == Border::tool_fixed; }

Qt::WindowFlags window_flags(const Control& self, bool owned)
{
    Qt::WindowFlags f = is_tool_border(self.border) && owned ? Qt::Tool : Qt::Window;
    if (self.border == Border::none) return f | Qt::FramelessWindowHint;
    f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (self.close_box) f |= Qt::WindowCloseButtonHint;
    if (self.min_box) f |= Qt::WindowMinimizeButtonHint;
    if (self.max_box) f |= Qt::WindowMaximizeButtonHint;
    return f;
}

} // namespace

// A form: the window (or, once put into a frame, the child widget) with an
// optional menu bar above the client area that holds the controls. The
// form's width and height are its client area's.
class FormWindow : public QWidget {
    QtBackend& b_;
    Form& f_;

public:
    FormWindow(QtBackend& b, Form& f, QWidget* parent, Qt::WindowFlags flags)
        : QWidget(parent, flags), b_(b), f_(f), client(new ClientView(f.self(), this))
    {
        tag(this, &f.self());
        tag(client, &f.self());
    }
    Form& form() { return f_; }
    QtBackend& backend() { return b_; }
    // The controls' widgets, made the first time the form shows on screen
    // (a module form on a page not chosen yet costs nothing until then).
    void realize()
    {
        if (!realized) b_.realize(f_);
    }
    int menu_height() const { return menu_bar ? menu_bar->sizeHint().height() : 0; }
    void layout()
    {
        int mh = menu_height();
        if (menu_bar) menu_bar->setGeometry(0, 0, width(), mh);
        QRect area(0, mh, width(), std::max(0, height() - mh));
        if (!scroller) return client->setGeometry(area);
        // The client keeps the size the program gave it and scrolls; a
        // larger window gives it the room. Controls that reach past it (a
        // look-up's zoomed picture) are scrolled to as well.
        scroller->setGeometry(area);
        QSize view = scroller->maximumViewportSize();
        const QSize content = requested.expandedTo(controls_extent());
        int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        if (content.height() > view.height()) view.rwidth() -= bar;
        if (content.width() > view.width()) view.rheight() -= bar;
        client_area = requested.expandedTo(view);
        client->resize(content.expandedTo(view));
    }
    // How far what the form's controls show reaches: a control that holds
    // others (a frame round a picture) by what of them shows in it, the
    // others by themselves.
    QSize controls_extent() const
    {
        // Where a control's widget lies in the client area (none before
        // the form is realized, or while it is hidden).
        auto placed = [this](const Control& c) {
            auto* w = static_cast<QWidget*>(c.view);
            if (!w || !c.visible || !client->isAncestorOf(w)) return QRect();
            return QRect(w->mapTo(client, QPoint(0, 0)), w->size());
        };
        QRect r;
        for (size_t i = 1; i < f_.controls.size(); ++i) {
            const Control& c = *f_.controls[i];
            const QRect own = c.parent ? QRect() : placed(c);
            if (own.isEmpty()) continue;
            QRect held;
            bool holds = false;
            for (size_t j = 1; j < f_.controls.size(); ++j) {
                const Control& k = *f_.controls[j];
                if (k.parent != &c) continue;
                const QRect at = placed(k);
                if (at.isEmpty()) continue;
                holds = true;
                held |= at & own;
            }
            r |= holds ? held : own;
        }
        return r.isEmpty() ? QSize() : QSize(r.right() + 1, r.bottom() + 1);
    }
    // A look-up or viewer window whose controls have grown past its client
    // area (a picture zoomed in) scrolls over them, and stops scrolling when
    // they fit again; the window keeps its size.
    bool outgrown() const
    {
        if (!isWindow() || !is_tool_border(f_.self().border)) return false;
        const QSize extent = controls_extent();
        return extent.width() > requested.width() || extent.height() > requested.height();
    }
    void controls_moved()
    {
        if (!isWindow() || !is_tool_border(f_.self().border)) return;
        const bool want = outgrown() || too_big;
        if (want != (scroller != nullptr)) set_scrolled(want);
        if (scroller) layout();
    }
    // After a zoom of `zoomed` (which took `before` in the client, the
    // pointer at `pointer` there): the point of it that was under the
    // pointer is scrolled back under the pointer at `global`.
    void keep_under_pointer(QWidget* zoomed, const QRectF& before, QPointF pointer, QPointF global)
    {
        if (!scroller || !zoomed || before.isEmpty()) return;
        const QRectF after(QPointF(zoomed->mapTo(client, QPoint(0, 0))), QSizeF(zoomed->size()));
        const double fx = std::clamp((pointer.x() - before.left()) / before.width(), 0.0, 1.0);
        const double fy = std::clamp((pointer.y() - before.top()) / before.height(), 0.0, 1.0);
        const QPointF target(after.left() + fx * after.width(), after.top() + fy * after.height());
        const QPointF in_view = scroller->viewport()->mapFromGlobal(global);
        scroller->horizontalScrollBar()->setValue(int(std::lround(target.x() - in_view.x())));
        scroller->verticalScrollBar()->setValue(int(std::lround(target.y() - in_view.y())));
    }
    void set_client_size(int w, int h)
    {
        requested = QSize(std::max(0, w), std::max(0, h));
        fit();
    }
    // The window at the size the program asked for, as far as the screen's
    // work area allows with the desktop's frame around it: a pop-up keeps
    // the client area it was given and scrolls over it, the main window
    // takes the room there is (the program lays itself out for it).
    void fit(bool may_centre = true)
    {
        QSize s(requested.width(), requested.height() + menu_height());
        const Border border = f_.self().border;
        if (isWindow()) {
            fitted_frame = frame();
            if (border == Border::resizable) s = s.boundedTo(screen_area().size());
            else if (border != Border::none) s = fit_screen(s);
        }
        if (isWindow() && is_fixed_border(border)) setFixedSize(s);
        else resize(s);
        fitted_size = s;
        layout();
        if (isWindow() && ever_shown) keep_on_screen(may_centre);
    }
    // The title bar and borders the desktop puts around the window: as Qt
    // reports them once the window has them; before (a window that is sized
    // before it is shown, or shown before the desktop framed it) as another
    // window of the program had them, or as a usual desktop's are.
    QMargins frame() const
    {
        if (!isWindow() || (windowFlags() & Qt::FramelessWindowHint)) return {};
        static QMargins desktop;
        const QRect f = frameGeometry(), g = geometry();
        const QMargins m(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
        if (!m.isNull()) return desktop = m;
        return desktop.isNull() ? QMargins(5, 32, 5, 5) : desktop;
    }
    // The frame came (or changed) after the window was sized: sized again,
    // unless the user has sized it meanwhile; placed before it came: the
    // place checked with the frame the window has.
    void frame_settled()
    {
        if (!isWindow() || !ever_shown || refitting || !frame_known()) return;
        const bool placed_blind = std::exchange(placed_unframed, false);
        if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) return;
        refitting = true;
        if (frame() != fitted_frame && size() == fitted_size) fit();
        else if (placed_blind) keep_on_screen();
        refitting = false;
    }
    // The size the program knows the client area by.
    QSize client_size() const { return scroller ? client_area : QSize(width(), height() - menu_height()); }
    // The work area of the window's screen: the desktop's panels left out.
    QRect work_area() const
    {
        QScreen* sc = screen() ? screen() : QGuiApplication::primaryScreen();
        return sc ? sc->availableGeometry() : QRect(0, 0, 1024, 768);
    }
    // The work area less the window's frame: the room for its client area.
    QRect screen_area() const
    {
        QRect a = work_area();
        QMargins m = frame();
        return QRect(a.topLeft(), (a.size() - QSize(m.left() + m.right(), m.top() + m.bottom())).expandedTo(QSize(0, 0)));
    }
    // A pop-up larger than the screen gets the screen's room, and scroll
    // bars over the client area it was given.
    QSize fit_screen(QSize s)
    {
        QSize room = screen_area().size();
        too_big = s.width() > room.width() || s.height() > room.height();
        if (too_big) {
            // Room for the bar that scrolls the other way, where there is some.
            int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
            if (s.height() > room.height()) s.rwidth() += bar;
            if (s.width() > room.width()) s.rheight() += bar;
        }
        set_scrolled(too_big || outgrown());
        return s.boundedTo(room);
    }
    void set_scrolled(bool on)
    {
        if (on && !scroller) {
            scroller = new QScrollArea(this);
            scroller->setFrameShape(QFrame::NoFrame);
            scroller->setWidgetResizable(false);
            scroller->setWidget(client);
            scroller->show();
        } else if (!on && scroller) {
            QWidget* c = scroller->takeWidget();
            c->setParent(this);
            c->show();
            scroller->deleteLater();
            scroller = nullptr;
            layout();
        }
    }
    // Centred while the program has not placed it (or only kept where it
    // is), and never off the screen (its frame's top left is its position).
    void keep_on_screen(bool may_centre = true)
    {
        QRect area = screen_area();
        QPoint at = pos();
        if (may_centre && f_.self().centered && !positioned)
            at = QPoint(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
        at = on_screen(at);
        if (at != pos() || !frame_known()) place(at);
    }
    // The nearest place to `at` for the frame's top left with the whole
    // frame in the work area (its top left, where the window is larger).
    QPoint on_screen(QPoint at) const
    {
        QRect area = screen_area();
        return {std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - width())),
                std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - height()))};
    }
    // Whether the desktop has told the window's frame (a window without
    // one has none to tell).
    bool frame_known() const
    {
        if (!isWindow() || (windowFlags() & Qt::FramelessWindowHint)) return true;
        return frameGeometry() != geometry();
    }
    // The frame's top left to `at`. Before the desktop has framed the window
    // Qt would take `at` for the client area's corner, and the title bar
    // would land above it, off the screen: the window system is asked to
    // put the frame there itself, and the place is checked again once the
    // frame is known.
    void place(QPoint at)
    {
        QWindow* handle = windowHandle();
        if (handle && handle->handle() && !frame_known()) {
            handle->setFramePosition(at);
            placed_unframed = true;
        } else {
            move(at);
        }
    }
    // The screen changed under the window (its work area shrank, or the
    // screen it was on went away): a window no longer inside the work area
    // comes back into it, smaller where it must be; one still inside stays
    // as the user left it.
    void screen_changed()
    {
        if (!isWindow() || !isVisible() || (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
            return;
        if (work_area().contains(frameGeometry())) return;
        if (f_.self().border != Border::resizable) return fit(false);
        const QSize room = screen_area().size();
        if (width() > room.width() || height() > room.height()) resize(size().boundedTo(room));
        keep_on_screen(false);
    }

    ClientView* client;
    QScrollArea* scroller = nullptr;
    QSize requested;
    QSize client_area;    // the form's client area while it scrolls
    bool too_big = false; // larger than the screen's room
    QMenuBar* menu_bar = nullptr;
    bool ever_shown = false;
    bool realized = false;   // its controls have their widgets
    bool positioned = false; // the program placed it before it showed
    bool closing = false;    // the runtime closes it: no query
    QMargins fitted_frame;   // the frame the window was last sized for
    QSize fitted_size;       // and the size it was given then
    bool refitting = false;
    bool placed_unframed = false; // placed before the desktop framed it

protected:
    void closeEvent(QCloseEvent* e) override
    {
        if (closing) return e->accept();
        // The runtime decides (QueryClose) and destroys the form itself.
        e->ignore();
        b_.user_close(f_);
    }
    void resizeEvent(QResizeEvent*) override
    {
        layout();
        // A size the program did not ask for (the screen's room, the
        // user's) is the program's to know, also when it came while the
        // window followed the program.
        if (isWindow() && b_.syncing_) QTimer::singleShot(0, this, [this] { report_size(); });
        else if (isWindow()) report_size();
        frame_settled();
    }
    void report_size() { b_.user_resize(f_, client_size().width(), client_size().height()); }
    void moveEvent(QMoveEvent*) override { frame_settled(); }
    void showEvent(QShowEvent*) override
    {
        realize();
        QTimer::singleShot(0, this, [this] { frame_settled(); });
    }
    // Esc closes a look-up or a dialog-like form as its close box does.
    void keyPressEvent(QKeyEvent* e) override
    {
        if (isWindow() && f_.self().escape_closes && e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
            e->accept();
            b_.user_close(f_);
            return;
        }
        QWidget::keyPressEvent(e);
    }
    // A turn of the wheel that nothing under the mouse took scrolls the
    // form with its own scroll bars.
    void wheelEvent(QWheelEvent* e) override
    {
        if (!isWindow() || !b_.scroll_form(f_, e)) e->ignore();
    }
};

QWidget* QtBackend::widget(const Control& c)
{
    if (c.form && !c.form->controls.empty())
        if (auto* win = static_cast<FormWindow*>(c.form->controls[0]->view)) {
            if (!c.view && c.kind != Kind::window) win->realize();
            // Whoever looks at a widget sees it as the runtime has it.
            win->backend().flush_text();
        }
    return static_cast<QWidget*>(c.view);
}

void QtBackend::realize(Form& f)
{
    auto* win = static_cast<FormWindow*>(window(f));
    if (!win || win->realized || f.destroying) return;
    win->realized = true;
    // Its pictures decode on another core while its widgets are made.
    std::vector<std::pair<Bytes, int32_t>> pictures{{f.self().pictures[0], -1}};
    for (auto& c : f.controls)
        if (c->kind == Kind::PicBox || c->kind == Kind::PicBtn) pictures.emplace_back(c->pictures[0], c->transparent_color);
    decode_ahead(pictures);
    SyncScope sync(syncing_);
    for (size_t i = 1; i < f.controls.size(); ++i) create_view(*f.controls[i]);
    apply_tips(f);
    if (rt_ && rt_->focus() && rt_->focus()->form == &f) focus_changed(rt_->focus());
}

// ---------------------------------------------------------------------------

QtBackend::QtBackend()
{
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        guarded([this] {
            if (rt_) rt_->run_due_timers(clock_ms());
        });
        schedule_timers();
    });
    animation_.setInterval(10);
    animation_.setTimerType(Qt::PreciseTimer);
    connect(&animation_, &QTimer::timeout, this, &QtBackend::animate);
    sounds_ = new SoundPlayer(this);
    qApp->installEventFilter(this);
    // The program ends when its forms are gone or it asks to, not when a
    // window happens to be the last one on screen.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(to_qfont(Font{}));
    QPalette tip = QToolTip::palette();
    tip.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    tip.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tip);
    // A screen that shrinks or goes (a laptop undocked from its monitor)
    // must not leave a window off the desktop.
    auto watch = [this](QScreen* s) {
        connect(s, &QScreen::geometryChanged, this, &QtBackend::screens_changed);
        connect(s, &QScreen::availableGeometryChanged, this, &QtBackend::screens_changed);
    };
    for (QScreen* s : QGuiApplication::screens()) watch(s);
    connect(qApp, &QGuiApplication::screenAdded, this, watch);
    connect(qApp, &QGuiApplication::screenRemoved, this, &QtBackend::screens_changed);
}

void QtBackend::screens_changed()
{
    // Once Qt has given the windows of a screen that went their new one.
    QTimer::singleShot(0, this, [this] {
        SyncScope sync(syncing_);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* win = dynamic_cast<FormWindow*>(w)) win->screen_changed();
    });
}

QtBackend::~QtBackend()
{
    qApp->removeEventFilter(this);
    rt_ = nullptr;
    // Deleting a window deletes the windows it owns: hold them weakly.
    std::vector<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (dynamic_cast<FormWindow*>(w)) windows.emplace_back(w);
    for (auto& w : windows) delete w.data();
}

QWidget* QtBackend::window(const Form& f) const { return f.controls.empty() ? nullptr : view_of(*f.controls[0]); }

QWidget* QtBackend::container(Form& f, Control* parent, int page)
{
    if (parent) {
        QWidget* pw = widget(*parent);
        if (auto* tab = qobject_cast<TabView*>(pw)) return tab->page(std::max(0, page));
        if (auto* shape = qobject_cast<ShapeView*>(pw)) return shape->client();
        if (pw) return pw;
    }
    auto* win = static_cast<FormWindow*>(window(f));
    return win ? win->client : nullptr;
}

Control* QtBackend::control_of(QObject* o) const
{
    for (QWidget* w = qobject_cast<QWidget*>(o); w; w = w->parentWidget()) {
        if (qobject_cast<QMenuBar*>(w)) return nullptr; // not the client area
        QVariant v = w->property(k_control);
        if (v.isValid()) return static_cast<Control*>(v.value<void*>());
        if (w->isWindow()) return nullptr; // a pop-up, menu or dialog of its own
    }
    return nullptr;
}

void QtBackend::guarded(const std::function<void()>& f)
{
    if (exiting_) return;
    try {
        f();
    } catch (const ProgramExit& e) {
        exiting_ = true;
        exit_code_ = e.code;
        QCoreApplication::exit(e.code);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "juesibao: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "juesibao: unknown error in a handler\n");
    }
}

void QtBackend::check_exit()
{
    // A nested loop (modal form, message box, waiting) ended because the
    // program is ending: the handler that waited must not go on.
    if (exiting_) throw ProgramExit(exit_code_);
}

// ---- forms -----------------------------------------------------------------------

void QtBackend::form_created(Form& f)
{
    SyncScope sync(syncing_);
    Control& self = f.self();
    QWidget* owner = f.owner ? window(*f.owner) : nullptr;
    auto* win = new FormWindow(*this, f, owner, window_flags(self, owner != nullptr));
    if (f.modal) win->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    win->setAttribute(Qt::WA_DeleteOnClose, false);
    self.view = win;
    build_menu_bar(f, win);
    win->setWindowTitle(to_qtext(self.text));
    if (!self.pictures[1].empty()) {
        QIcon icon(new IcoIconEngine(self.pictures[1]));
        win->setWindowIcon(icon);
        if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(icon);
    }
    if (self.border == Border::resizable || self.border == Border::tool_resizable) win->setMinimumSize(40, 30);
    win->set_client_size(self.width, self.height);
    win->setEnabled(!self.disabled);
    schedule_timers();
}

void QtBackend::build_menu_bar(Form& f, FormWindow* win)
{
    auto add_item = [this, &f](QMenu* menu, QMenuBar* bar, int i) {
        const MenuItem& m = f.menus[size_t(i)];
        if (m.caption == "-") {
            if (menu) menu->addSeparator();
            return;
        }
        QAction* a = menu ? menu->addAction(to_qtext(m.caption)) : bar->addAction(to_qtext(m.caption));
        connect(a, &QAction::triggered, this, [this, &f, i] {
            if (rt_ && !f.destroying) guarded([&] { rt_->user_menu(f, i); });
        });
    };
    int n = int(f.menus.size());
    for (int i = 0; i < n; ++i) {
        const MenuItem& root = f.menus[size_t(i)];
        if (root.level != 0 || root.hidden) continue;
        if (!win->menu_bar) {
            win->menu_bar = new QMenuBar(win);
            win->menu_bar->setNativeMenuBar(false);
        }
        bool has_items = i + 1 < n && f.menus[size_t(i) + 1].level > 0;
        if (!has_items) {
            add_item(nullptr, win->menu_bar, i);
            continue;
        }
        QMenu* menu = win->menu_bar->addMenu(to_qtext(root.caption));
        for (int j = i + 1; j < n && f.menus[size_t(j)].level > 0; ++j) add_item(menu, nullptr, j);
    }
}

void QtBackend::form_shown(Form& f)
{
    auto* win = static_cast<FormWindow*>(window(f));
    if (!win) return;
    SyncScope sync(syncing_);
    Control& self = f.self();
    win->ever_shown = true;
    if (!win->isWindow()) {
        win->move(self.left, self.top);
        win->setVisible(self.visible);
        return;
    }
    if (!self.centered || win->positioned) win->place({self.left, self.top});
    win->keep_on_screen();
    if (!self.visible) return;
    win->show();
    win->raise();
    win->activateWindow();
}

void QtBackend::form_destroying(Form& f)
{
    SyncScope sync(syncing_);
    if (auto it = modal_loops_.find(&f); it != modal_loops_.end()) it->second->quit();
    // A form sitting in one of this form's frames outlives it in the
    // runtime: take its window out before Qt deletes the frame's children.
    if (rt_)
        for (Form* g : rt_->forms())
            if (g != &f && g->frame && g->frame->form == &f)
                if (QWidget* gw = window(*g)) {
                    gw->hide();
                    gw->setParent(nullptr);
                }
    if (wheel_owner_ && wheel_owner_->form == &f) wheel_owner_ = nullptr;
    if (drag_.control && drag_.control->form == &f) {
        if (QWidget* w = view_of(*drag_.control)) w->releaseMouse();
        drag_ = {};
    }
    if (press_.control && press_.control->form == &f) press_ = {};
    text_pending_.erase(std::remove_if(text_pending_.begin(), text_pending_.end(), [&f](Control* c) { return c->form == &f; }),
                        text_pending_.end());
    animated_.erase(std::remove_if(animated_.begin(), animated_.end(),
                                   [&f](const QPointer<PictureView>& v) {
                                       auto* c = v ? static_cast<Control*>(v->property(k_control).value<void*>()) : nullptr;
                                       return !c || c->form == &f;
                                   }),
                    animated_.end());
    if (auto* win = static_cast<FormWindow*>(window(f))) {
        win->closing = true;
        win->hide();
        win->deleteLater();
    }
    for (auto& c : f.controls) c->view = nullptr;
    // No form left: the program is over.
    QTimer::singleShot(0, this, [this] {
        if (in_main_loop_ && rt_ && rt_->forms().empty() && !exiting_) QCoreApplication::exit(0);
    });
}

void QtBackend::parent_changed(Form& f)
{
    auto* win = static_cast<FormWindow*>(window(f));
    if (!win || !f.frame) return;
    QWidget* frame = container(*f.frame->form, f.frame, f.frame->kind == Kind::Tab ? f.frame->current_page : 0);
    SyncScope sync(syncing_);
    win->setWindowModality(Qt::NonModal);
    win->setParent(frame); // a child widget from now on: no frame, no title
    win->move(f.self().left, f.self().top);
    win->set_client_size(f.self().width, f.self().height);
    win->setVisible(win->ever_shown && f.self().visible);
}

void QtBackend::modal_loop(Form& f)
{
    if (!window(f) || f.destroying) return;
    QEventLoop loop;
    modal_loops_[&f] = &loop;
    loop.exec();
    modal_loops_.erase(&f);
    check_exit();
}

// ---- controls ----------------------------------------------------------------------

void QtBackend::create_view(Control& c)
{
    if (c.view || c.kind == Kind::window) return;
    if (c.parent && !c.parent->view) create_view(*c.parent);
    QWidget* parent = container(*c.form, c.parent, c.page);
    if (!parent) return;
    QWidget* w = nullptr;
    switch (c.kind) {
    case Kind::Label:
    case Kind::TransLabel: {
        auto* l = new QLabel(parent);
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
        w = l;
        break;
    }
    case Kind::EditBox:
        if (wants_multiline(c)) {
            auto* e = new QPlainTextEdit(parent);
            e->setTabChangesFocus(true);
            w = e;
        } else {
            auto* e = new QLineEdit(parent);
            guard_entry(e, c, syncing_);
            w = e;
        }
        break;
    case Kind::ShapeBox: w = new ShapeView(c, parent); break;
    case Kind::PicBtn: w = new PicButtonView(c, parent); break;
    case Kind::PicBox: w = new PictureView(c, parent); break;
    case Kind::ComboBox: {
        auto* cb = new QComboBox(parent);
        cb->setEditable(c.editable);
        cb->setInsertPolicy(QComboBox::NoInsert);
        if (cb->lineEdit()) guard_entry(cb->lineEdit(), c, syncing_);
        w = cb;
        break;
    }
    case Kind::Button: w = new QPushButton(parent); break;
    case Kind::GroupBox: w = new GroupView(parent); break;
    case Kind::ProcessBar: {
        auto* p = new QProgressBar(parent);
        p->setTextVisible(false);
        w = p;
        break;
    }
    case Kind::RadioBox: {
        auto* r = new RadioView(parent);
        r->setAutoExclusive(false); // the runtime clears the group
        w = r;
        break;
    }
    case Kind::CheckBox: w = new CheckView(parent); break;
    case Kind::ChkListBox: w = new CheckListView(parent); break;
    case Kind::Tab: w = new TabView(c, parent); break;
    case Kind::ListBox: w = new QListWidget(parent); break;
    case Kind::ToolBar: {
        auto* tb = new QToolBar(parent);
        tb->setMovable(false);
        tb->setFloatable(false);
        tb->setIconSize(QSize(24, 24));
        w = tb;
        break;
    }
    case Kind::HScrollBar: w = new QScrollBar(Qt::Horizontal, parent); break;
    case Kind::VScrollBar: w = new QScrollBar(Qt::Vertical, parent); break;
    case Kind::DriverBox: {
        auto* cb = new QComboBox(parent);
        for (const QStorageInfo& s : QStorageInfo::mountedVolumes())
            if (s.isValid() && s.isReady()) cb->addItem(s.rootPath());
        w = cb;
        break;
    }
    case Kind::BarChart: w = new ChartView(c, parent); break;
    default:
        // Timers, tips, the dialog, the hidden web viewer and the Word
        // objects have no window of their own.
        return;
    }
    switch (c.kind) {
    case Kind::Label: case Kind::TransLabel: case Kind::ShapeBox: case Kind::PicBtn: case Kind::PicBox:
    case Kind::GroupBox: case Kind::ProcessBar: case Kind::BarChart: case Kind::ToolBar:
        w->setFocusPolicy(Qt::NoFocus);
        break;
    default:
        if (!c.tab_stop) w->setFocusPolicy(Qt::ClickFocus);
        break;
    }
    no_wheel_focus(w);
    tag(w, &c);
    c.view = w;
    connect_view(c, w);
    fill_items(c);
    w->setVisible(c.visible);
}

// An edit box that is given a text of several lines becomes a multi-line box.
void QtBackend::rebuild_view(Control& c)
{
    QWidget* old = view_of(c);
    if (!old) return;
    QWidget* parent = old->parentWidget();
    bool focused = old->hasFocus();
    auto* e = new QPlainTextEdit(parent);
    e->setTabChangesFocus(true);
    e->setFocusPolicy(old->focusPolicy());
    no_wheel_focus(e);
    e->stackUnder(old);
    tag(e, &c);
    old->setProperty(k_control, QVariant());
    old->hide();
    old->deleteLater();
    c.view = e;
    connect_view(c, e);
    apply(c);
    apply_tips(*c.form);
    if (focused) {
        SyncScope sync(syncing_);
        e->setFocus(Qt::OtherFocusReason);
    }
}

void QtBackend::connect_view(Control& c, QWidget* w)
{
    Control* cp = &c;
    // Runs a user's action through the runtime, then shows what the runtime
    // made of it (it may refuse: a disabled form, a modal owner).
    auto act = [this, cp](auto&& fn, bool resync) {
        if (!rt_ || cp->form->destroying || syncing_) return;
        guarded([&] { fn(*rt_); });
        if (resync && cp->view) apply(*cp);
    };
    switch (c.kind) {
    case Kind::EditBox:
        if (auto* e = qobject_cast<QLineEdit*>(w))
            connect(e, &QLineEdit::textEdited, this, [act, cp](const QString& t) {
                act([&](Runtime& rt) { rt.user_edit_text(*cp, from_qtext(t, false)); }, false);
            });
        else if (auto* e = qobject_cast<QPlainTextEdit*>(w))
            connect(e, &QPlainTextEdit::textChanged, this, [act, cp, e] {
                act([&](Runtime& rt) { rt.user_edit_text(*cp, from_qtext(e->toPlainText(), true)); }, false);
            });
        break;
    case Kind::PicBtn:
        connect(static_cast<PicButtonView*>(w), &PicButtonView::clicked, this,
                [act, cp] { act([&](Runtime& rt) { rt.user_click(*cp); }, false); });
        break;
    case Kind::Button:
        connect(static_cast<QPushButton*>(w), &QPushButton::clicked, this,
                [act, cp] { act([&](Runtime& rt) { rt.user_click(*cp); }, false); });
        break;
    case Kind::CheckBox:
        connect(static_cast<CheckView*>(w), &CheckView::user_toggle, this,
                [act, cp] { act([&](Runtime& rt) { rt.user_click(*cp); }, true); });
        break;
    case Kind::RadioBox:
        connect(static_cast<RadioView*>(w), &RadioView::user_toggle, this,
                [act, cp] { act([&](Runtime& rt) { rt.user_click(*cp); }, true); });
        break;
    case Kind::ComboBox: {
        auto* cb = static_cast<QComboBox*>(w);
        connect(cb, &QComboBox::activated, this,
                [act, cp](int i) { act([&](Runtime& rt) { rt.user_choose(*cp, i); }, true); });
        if (cb->lineEdit())
            connect(cb->lineEdit(), &QLineEdit::textEdited, this, [act, cp](const QString& t) {
                act([&](Runtime& rt) { rt.user_edit_text(*cp, from_qtext(t, false)); }, false);
            });
        break;
    }
    case Kind::ListBox:
        connect(static_cast<QListWidget*>(w), &QListWidget::currentRowChanged, this, [act, cp](int row) {
            if (row >= 0) act([&](Runtime& rt) { rt.user_choose(*cp, row); }, true);
        });
        break;
    case Kind::ChkListBox: {
        auto* l = static_cast<CheckListView*>(w);
        connect(l, &QListWidget::currentRowChanged, this, [act, cp](int row) {
            if (row >= 0) act([&](Runtime& rt) { rt.user_choose(*cp, row); }, true);
        });
        connect(l, &CheckListView::tick, this,
                [act, cp](int row) { act([&](Runtime& rt) { rt.user_tick(*cp, row); }, true); });
        break;
    }
    case Kind::Tab:
        connect(static_cast<TabView*>(w), &TabView::page_clicked, this,
                [act, cp](int page) { act([&](Runtime& rt) { rt.user_page(*cp, page); }, true); });
        break;
    case Kind::HScrollBar:
    case Kind::VScrollBar:
        connect(static_cast<QScrollBar*>(w), &QScrollBar::valueChanged, this,
                [act, cp](int v) { act([&](Runtime& rt) { rt.user_scroll(*cp, v); }, true); });
        break;
    case Kind::ToolBar:
        connect(static_cast<QToolBar*>(w), &QToolBar::actionTriggered, this, [act, cp](QAction* a) {
            int index = a->data().toInt();
            act([&](Runtime& rt) { rt.user_toolbar(*cp, index); }, false);
        });
        break;
    default:
        break;
    }
}

void QtBackend::fill_items(Control& c)
{
    QWidget* w = view_of(c);
    if (!w) return;
    SyncScope sync(syncing_);
    QSignalBlocker block(w);
    switch (c.kind) {
    case Kind::ComboBox: {
        auto* cb = static_cast<QComboBox*>(w);
        cb->clear();
        for (auto& s : c.items) cb->addItem(to_qtext(s));
        break;
    }
    case Kind::ListBox:
    case Kind::ChkListBox: {
        auto* l = static_cast<QListWidget*>(w);
        l->clear();
        for (auto& s : c.items) {
            auto* item = new QListWidgetItem(to_qtext(s), l);
            if (c.kind == Kind::ChkListBox) {
                // Not user-checkable: the box's clicks go through the runtime.
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                item->setCheckState(Qt::Unchecked);
            }
        }
        break;
    }
    case Kind::ToolBar: {
        auto* tb = static_cast<QToolBar*>(w);
        tb->clear();
        tb->setOrientation(c.height > c.width ? Qt::Vertical : Qt::Horizontal);
        // The image list: one picture per image, or one strip of 24-pixel
        // squares in the control's picture.
        auto strip = decode_picture(c.pictures[0], c.transparent_color);
        bool icons = false, captions_fit = true;
        for (size_t i = 0; i < c.tool_buttons.size(); ++i) {
            const ToolButton& b = c.tool_buttons[i];
            QIcon icon;
            if (b.image >= 0 && size_t(b.image) < c.images.size()) {
                auto pic = decode_picture(c.images[size_t(b.image)], c.transparent_color);
                if (!pic->empty()) icon = QIcon(QPixmap::fromImage(pic->frame(0)));
            } else if (!strip->empty() && b.image >= 0 && strip->frame(0).width() >= 24 * (b.image + 1)) {
                icon = QIcon(QPixmap::fromImage(strip->frame(0).copy(24 * b.image, 0, 24, std::min(24, strip->frame(0).height()))));
            }
            icons = icons || !icon.isNull();
            QString caption = to_qtext(b.caption);
            // A caption wider than the bar leaves the button its picture
            // and says itself as the button's tip.
            if (!caption.isEmpty() && QFontMetrics(tb->font()).horizontalAdvance(caption) + 6 > c.width)
                captions_fit = false;
            QAction* a = tb->addAction(icon, caption);
            a->setToolTip(caption);
            a->setData(int(i));
        }
        bool vertical = c.height > c.width;
        tb->setToolButtonStyle(!icons                    ? Qt::ToolButtonTextOnly
                               : vertical && !captions_fit ? Qt::ToolButtonIconOnly
                               : vertical || c.height >= 44 ? Qt::ToolButtonTextUnderIcon
                                                            : Qt::ToolButtonTextBesideIcon);
        fit_tool_bar(tb, vertical ? c.height : c.width);
        break;
    }
    default:
        break;
    }
    apply(c);
}

void QtBackend::apply_geometry(Control& c, QWidget* w)
{
    int h = c.height;
    if (auto* cb = qobject_cast<QComboBox*>(w)) {
        // A combo's stored height counts its drop-down list; the closed box
        // is as tall as its text.
        int hint = cb->sizeHint().height();
        if (h > hint + 8) h = hint;
    }
    const QRect r(c.left, c.top, std::max(0, c.width), std::max(0, h));
    if (w->geometry() == r) return;
    w->setGeometry(r);
    form_controls_moved(c);
}

void QtBackend::form_controls_moved(Control& c)
{
    if (!c.form || c.form->destroying || c.form->controls.empty()) return;
    if (auto* win = static_cast<FormWindow*>(c.form->controls[0]->view)) win->controls_moved();
}

void QtBackend::apply(Control& c, int prop)
{
    QWidget* w = view_of(c);
    if (!w || c.kind == Kind::window) return;
    SyncScope sync(syncing_);
    QSignalBlocker block(w);
    // A write touches only what it changed; the size also decides a label's
    // alignment and a bar's orientation.
    const bool all = prop < 0;
    switch (prop) {
    case prop::Left:
    case prop::Top:
        apply_geometry(c, w);
        return;
    case prop::Width:
    case prop::Height:
        apply_geometry(c, w);
        break;
    case prop::Visible:
        if (w->isVisibleTo(w->parentWidget()) != c.visible) w->setVisible(c.visible);
        form_controls_moved(c);
        return;
    case prop::Disabled:
        w->setEnabled(!c.disabled);
        if (c.kind == Kind::PicBtn) w->update();
        return;
    case prop::MousePointer:
        apply_cursor(w, c.mouse_pointer);
        return;
    case prop::Tag:
        return;
    default:
        break;
    }
    if (all) {
        apply_geometry(c, w);
        w->setEnabled(!c.disabled);
        apply_cursor(w, c.mouse_pointer);
    }
    // The font a text shows in: its own, or a smaller one where a one-line
    // box's text would be cut, so it follows the text and the size as well
    // (a label's is worked out with its text).
    const bool sized = prop == prop::Width || prop == prop::Height;
    const bool edit_text = c.kind == Kind::EditBox && (prop == prop::EditBox::Font || prop == prop::EditBox::Content);
    if (all || sized || edit_text) {
        switch (c.kind) {
        case Kind::PicBtn: case Kind::PicBox: case Kind::ShapeBox: case Kind::ProcessBar:
        case Kind::HScrollBar: case Kind::VScrollBar: case Kind::ToolBar:
        case Kind::Label: case Kind::TransLabel:
            break;
        default: {
            // A one-line box's font is worked out with what it shows.
            if (c.kind == Kind::EditBox && qobject_cast<QLineEdit*>(w)) break;
            const QFont f = shown_font(c, w);
            if (w->font() != f) w->setFont(f);
        }
        }
    }
    apply_kind(c, w, prop);
    // Shown after its state is in place: a progress bar given its value
    // while hidden does not paint itself there and then.
    if (all && view_of(c) == w && w->isVisibleTo(w->parentWidget()) != c.visible) w->setVisible(c.visible);
}

void QtBackend::apply_kind(Control& c, QWidget* w, int prop)
{
    const bool all = prop < 0;
    const bool resized = prop == prop::Width || prop == prop::Height;
    const QColor text = to_qcolor(c.text_color);
    switch (c.kind) {
    case Kind::Label:
    case Kind::TransLabel: {
        auto* l = static_cast<QLabel*>(w);
        if (all || resized || prop == prop::Label::Caption) {
            // Its text, the font it fits in and where it sits: worked out
            // once per change of the text or the size.
            LabelLook look = label_look(to_qtext(c.text), to_qfont(c.font), c.width, c.height);
            if (l->font() != look.font) l->setFont(look.font);
            if (l->text() != look.text) l->setText(look.text);
            if (l->alignment() != look.alignment) l->setAlignment(look.alignment);
            // A figure shown shorter is whole in the label's tip.
            const QString whole = look.whole ? QString() : to_qtext(c.text).trimmed();
            if (l->property(k_whole).toString() != whole) {
                l->setProperty(k_whole, whole);
                apply_tip(c, l);
            }
        }
        if (all || prop == prop::Label::TextColor) {
            bool filled = c.kind == Kind::Label && c.back_color != kButtonFace;
            QColor back = to_qcolor(c.back_color);
            set_colors(l, QPalette::WindowText, text, QPalette::Window, filled ? &back : nullptr);
            l->setAutoFillBackground(filled);
        }
        break;
    }
    case Kind::EditBox: {
        QColor back = to_qcolor(c.back_color);
        const bool content = all || prop == prop::EditBox::Content;
        const bool colours = all || prop == prop::EditBox::TextColor || prop == prop::EditBox::BackColor;
        const bool mode = all || prop == prop::EditBox::InputMode;
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            if (content || resized || prop == prop::EditBox::Font) {
                QString t = to_qtext(c.text);
                if (t.contains('\n')) {
                    rebuild_view(c);
                    return;
                }
                // What it shows of its text, and in which font: the whole
                // text while the user is at it (the focus is in the box).
                const LineLook look = line_look(t, to_qfont(c.font), e, e->hasFocus() || c.input_mode == 2);
                if (e->font() != look.font) e->setFont(look.font);
                if (e->text() != look.text) {
                    e->setText(look.text);
                    // A text the program wrote reads from its start, like a
                    // label; the user's own typing keeps its caret.
                    if (!e->hasFocus()) e->setCursorPosition(0);
                }
                // A text shown shorter is whole in the box's tip, and nothing
                // is dropped onto the shorter one.
                const QString whole = look.whole ? QString() : t;
                if (e->property(k_whole).toString() != whole) {
                    e->setProperty(k_whole, whole);
                    e->setAcceptDrops(look.whole);
                    apply_tip(c, e);
                }
            }
            if (mode) {
                e->setEchoMode(c.input_mode == 2 ? QLineEdit::Password : QLineEdit::Normal);
                e->setReadOnly(c.input_mode == 1);
                if (auto* v = dynamic_cast<const EntryValidator*>(e->validator()))
                    const_cast<EntryValidator*>(v)->set_numeric(numeric_box(c));
            }
            if (colours) set_colors(e, QPalette::Text, text, QPalette::Base, &back);
        } else if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
            if (content) {
                // A handler that writes a text of several lines and appends
                // to it line by line lays it out and scrolls once, at the end
                // of the event-loop turn.
                if (all) sync_text(c, e);
                else defer_text(c);
            }
            if (mode) e->setReadOnly(c.input_mode == 1);
            if (colours || content || mode) {
                // A log nothing was written to yet shows as an empty box, not as a dark panel.
                QColor face = button_face();
                set_colors(e, QPalette::Text, text, QPalette::Base, c.text.empty() && c.input_mode == 1 ? &face : &back);
            }
        }
        break;
    }
    case Kind::ShapeBox:
    case Kind::PicBtn:
    case Kind::BarChart:
        w->update();
        break;
    case Kind::PicBox:
        if (all || resized || prop == prop::PicBox::Picture) {
            track_animation(c);
            w->update();
        }
        break;
    case Kind::ComboBox: {
        auto* cb = static_cast<QComboBox*>(w);
        if (cb->count() != int(c.items.size())) fill_items(c);
        int i = c.current_index >= 0 && c.current_index < cb->count() ? c.current_index : -1;
        if (cb->currentIndex() != i) cb->setCurrentIndex(i);
        QString t = to_qtext(c.text);
        if (cb->lineEdit()) {
            QSignalBlocker b2(cb->lineEdit());
            if (cb->lineEdit()->text() != t) cb->lineEdit()->setText(t);
        } else {
            // A list-only box shows a text that is none of its items the
            // way Windows does: as its text, with nothing chosen.
            QString placeholder = i < 0 ? t : QString();
            if (cb->placeholderText() != placeholder) cb->setPlaceholderText(placeholder);
        }
        if (all) {
            QColor back = to_qcolor(c.back_color);
            set_colors(cb, QPalette::Text, text, QPalette::Base, &back);
            set_colors(cb, QPalette::ButtonText, text, QPalette::Button, nullptr);
        }
        break;
    }
    case Kind::Button: {
        auto* b = static_cast<QPushButton*>(w);
        QString t = to_qtext(c.text);
        if (b->text() != t) b->setText(t);
        break;
    }
    case Kind::GroupBox: {
        auto* g = static_cast<QGroupBox*>(w);
        QString t = to_qtext(c.text);
        if (g->title() != t) g->setTitle(t);
        if (all) set_colors(w, QPalette::WindowText, text, QPalette::Window, nullptr);
        break;
    }
    case Kind::CheckBox:
    case Kind::RadioBox: {
        auto* b = static_cast<QAbstractButton*>(w);
        QString t = to_qtext(c.text);
        if (b->text() != t) b->setText(t);
        if (b->isChecked() != c.checked) b->setChecked(c.checked);
        if (all || (c.kind == Kind::CheckBox && prop == prop::CheckBox::TextColor)) {
            set_colors(b, QPalette::WindowText, text, QPalette::Window, nullptr);
            set_colors(b, QPalette::ButtonText, text, QPalette::Button, nullptr);
        }
        break;
    }
    case Kind::ProcessBar: {
        auto* p = static_cast<QProgressBar*>(w);
        p->setOrientation(c.height > c.width ? Qt::Vertical : Qt::Horizontal);
        p->setRange(c.minimum, std::max(c.minimum, c.maximum));
        p->setValue(c.position);
        break;
    }
    case Kind::HScrollBar:
    case Kind::VScrollBar: {
        auto* s = static_cast<QScrollBar*>(w);
        s->setRange(c.minimum, std::max(c.minimum, c.maximum));
        // A click in the trough moves a page: what the bar's page shows, as
        // the program says; an arrow and a turn of the wheel a part of it.
        s->setPageStep(c.page_size > 0 ? c.page_size : std::max(1, (c.maximum - c.minimum) / 10));
        s->setSingleStep(c.page_size > 0 ? std::max(1, c.page_size / 20) : 1);
        s->setValue(c.position);
        break;
    }
    case Kind::ListBox:
    case Kind::ChkListBox: {
        auto* l = static_cast<QListWidget*>(w);
        if (l->count() != int(c.items.size())) return fill_items(c);
        for (int i = 0; c.kind == Kind::ChkListBox && i < l->count(); ++i) {
            bool on = size_t(i) < c.item_checked.size() && c.item_checked[size_t(i)];
            Qt::CheckState state = on ? Qt::Checked : Qt::Unchecked;
            if (l->item(i)->checkState() != state) l->item(i)->setCheckState(state);
        }
        int row = c.current_index >= 0 && c.current_index < l->count() ? c.current_index : -1;
        if (l->currentRow() != row) l->setCurrentRow(row);
        if (all || (c.kind == Kind::ListBox && prop == prop::ListBox::BackColor)) {
            QColor back = to_qcolor(c.back_color);
            set_colors(l, QPalette::Text, text, QPalette::Base, &back);
        }
        break;
    }
    case Kind::Tab:
        static_cast<TabView*>(w)->sync();
        break;
    default:
        break;
    }
}

void QtBackend::sync_text(Control& c, QPlainTextEdit* e)
{
    QString t = to_qtext(c.text);
    QString now = e->toPlainText();
    if (now == t) return;
    if (t.startsWith(now) && !now.isEmpty()) {
        // An append: the caret goes to the end and the view follows it.
        QTextCursor cur = e->textCursor();
        cur.movePosition(QTextCursor::End);
        cur.insertText(t.mid(now.size()));
        e->setTextCursor(cur);
    } else {
        e->setPlainText(t);
    }
    e->ensureCursorVisible();
}

void QtBackend::defer_text(Control& c)
{
    if (std::find(text_pending_.begin(), text_pending_.end(), &c) == text_pending_.end()) text_pending_.push_back(&c);
    if (text_flush_posted_) return;
    text_flush_posted_ = true;
    // Before the repaint, which Qt posts at a lower priority.
    QMetaObject::invokeMethod(
        this,
        [this] {
            text_flush_posted_ = false;
            flush_text();
        },
        Qt::QueuedConnection);
}

void QtBackend::flush_text()
{
    if (text_pending_.empty()) return;
    std::vector<Control*> pending;
    pending.swap(text_pending_);
    SyncScope sync(syncing_);
    for (Control* c : pending)
        if (auto* e = qobject_cast<QPlainTextEdit*>(view_of(*c))) {
            QSignalBlocker block(e);
            sync_text(*c, e);
        }
}

void QtBackend::apply_tips(Form& f)
{
    for (auto& c : f.controls)
        if (QWidget* w = view_of(*c); w && c->kind != Kind::window) apply_tip(*c, w);
}

// A control's tip: the one its form attached to it, after the whole text
// of a box or label that shows it shorter.
void QtBackend::apply_tip(const Control& c, QWidget* w)
{
    QString tip;
    for (auto& t : c.form->controls)
        if (t->kind == Kind::Q_tip && t.get() != &c)
            if (auto it = t->tips.find(c.id); it != t->tips.end()) tip = to_qtext(it->second);
    const QString whole = w->property(k_whole).toString();
    if (!whole.isEmpty()) tip = tip.isEmpty() ? whole : whole + "\n" + tip;
    const QString shown = tip.isEmpty() ? QString() : Qt::convertFromPlainText(tip, Qt::WhiteSpacePre);
    if (w->toolTip() == shown) return;
    w->setToolTip(shown);
    w->setToolTipDuration(30000);
}

void QtBackend::property_changed(Control& c, int prop)
{
    if (!view_of(c)) return;
    if (c.kind != Kind::window) {
        // The writes a click makes most, a one-line box's or a label's
        // text, update only what the text decides; any other write brings
        // the whole control in step.
        const bool text_only = (c.kind == Kind::EditBox && prop == prop::EditBox::Content &&
                                qobject_cast<QLineEdit*>(view_of(c))) ||
                               ((c.kind == Kind::Label || c.kind == Kind::TransLabel) && prop == prop::Label::Caption);
        return apply(c, text_only ? prop : -1);
    }

    auto* win = static_cast<FormWindow*>(view_of(c));
    SyncScope sync(syncing_);
    switch (prop) {
    case prop::Left:
    case prop::Top:
        win->positioned = true;
        if (!win->isWindow()) win->move(c.left, c.top);
        else win->place(win->ever_shown ? win->on_screen({c.left, c.top}) : QPoint(c.left, c.top));
        break;
    case prop::Width:
    case prop::Height:
        win->set_client_size(c.width, c.height);
        break;
    case prop::Visible:
        if (win->ever_shown) {
            win->setVisible(c.visible);
            if (c.visible && win->isWindow()) win->raise();
        }
        break;
    case prop::Disabled:
        win->setEnabled(!c.disabled);
        break;
    case prop::window::Title:
        win->setWindowTitle(to_qtext(c.text));
        break;
    default:
        win->client->update();
        break;
    }
}

void QtBackend::items_changed(Control& c)
{
    if (c.kind == Kind::Q_tip) return apply_tips(*c.form);
    // The same items with other marks: only the marks and the choice change.
    QWidget* w = view_of(c);
    if (auto* l = qobject_cast<QListWidget*>(w); l && l->count() == int(c.items.size())) {
        bool same = true;
        for (int i = 0; same && i < l->count(); ++i) same = l->item(i)->text() == to_qtext(c.items[size_t(i)]);
        if (same) return apply(c, prop::ListBox::CurrentIndex);
    }
    fill_items(c);
}

void QtBackend::focus_changed(Control* now)
{
    if (!now) return;
    QWidget* w = view_of(*now);
    if (!w || w->hasFocus()) return;
    SyncScope sync(syncing_);
    if (now->kind == Kind::window) w->activateWindow();
    else w->setFocus(Qt::OtherFocusReason);
}

void QtBackend::z_order(Control& c, int position)
{
    QWidget* w = widget(c);
    if (!w) return;
    SyncScope sync(syncing_);
    switch (position) {
    case 1: w->raise(); break;
    case 2: w->lower(); break;
    case 3:
    case 4:
        if (w->isWindow()) {
            bool was = w->isVisible();
            w->setWindowFlag(Qt::WindowStaysOnTopHint, position == 3);
            if (was) w->show();
        } else {
            position == 3 ? w->raise() : void();
        }
        break;
    default: break;
    }
}

void QtBackend::begin_drag(Control& c)
{
    QWidget* w = view_of(c);
    if (!w || !w->parentWidget() || !(QApplication::mouseButtons() & Qt::LeftButton)) return;
    // Held where the button went down on it (or where the cursor is now).
    QPoint grab = press_.control == &c ? press_.pos : w->mapFromGlobal(QCursor::pos());
    drag_ = {&c, grab};
    w->grabMouse();
}

bool QtBackend::drag_event(QMouseEvent* e)
{
    Control& c = *drag_.control;
    QWidget* w = view_of(c);
    if (e->type() == QEvent::MouseButtonRelease && e->button() == Qt::LeftButton) {
        w->releaseMouse();
        drag_ = {};
        return true;
    }
    if (e->type() != QEvent::MouseMove || !rt_ || c.form->destroying) return false;
    // The grabbed point follows the cursor, which stays inside the parent.
    QWidget* parent = w->parentWidget();
    QPoint at = parent->mapFromGlobal(e->globalPosition().toPoint());
    int x = std::clamp(at.x(), 0, std::max(0, parent->width() - 1)) - drag_.grab.x();
    int y = std::clamp(at.y(), 0, std::max(0, parent->height() - 1)) - drag_.grab.y();
    guarded([&] {
        if (x != c.left) rt_->set(c, prop::Left, x);
        if (y != c.top) rt_->set(c, prop::Top, y);
    });
    return true;
}

void QtBackend::repaint_now(Control& c)
{
    flush_text();
    if (QWidget* w = view_of(c)) w->repaint();
}

// ---- timers and animation ---------------------------------------------------------------

void QtBackend::timers_changed() { schedule_timers(); }

void QtBackend::schedule_timers()
{
    if (!rt_) return;
    int64_t due = rt_->next_timer_due();
    if (due == INT64_MAX) {
        timer_.stop();
        return;
    }
    timer_.start(int(std::clamp<int64_t>(due - clock_ms(), 0, INT_MAX)));
}

void QtBackend::track_animation(Control& c)
{
    auto* v = qobject_cast<PictureView*>(view_of(c));
    if (!v) return;
    bool animated = gif_frame_delays(c.pictures[0]).size() > 1;
    auto it = std::find(animated_.begin(), animated_.end(), QPointer<PictureView>(v));
    if (animated && it == animated_.end()) animated_.push_back(v);
    if (!animated && it != animated_.end()) animated_.erase(it);
    v->set_frame(animated && rt_ ? rt_->animation_frame(c, clock_ms()) : 0);
    if (!animated_.empty() && !animation_.isActive()) animation_.start();
}

void QtBackend::animate()
{
    animated_.erase(std::remove(animated_.begin(), animated_.end(), QPointer<PictureView>()), animated_.end());
    if (animated_.empty() || !rt_) {
        animation_.stop();
        return;
    }
    int64_t now = clock_ms();
    for (auto& v : animated_) {
        auto* c = static_cast<Control*>(v->property(k_control).value<void*>());
        if (c && !c->form->destroying && v->isVisible()) v->set_frame(rt_->animation_frame(*c, now));
    }
}

// ---- user actions that come from the form window ----------------------------------------

void QtBackend::user_close(Form& f)
{
    if (!rt_ || f.destroying) return;
    guarded([&] { rt_->user_close(f); });
}

bool QtBackend::scroll_form(Form& f, QWheelEvent* e)
{
    if (!rt_ || f.destroying) return false;
    // A wheel turned sideways, or turned with Shift held, scrolls across;
    // where nothing scrolls across it does nothing (it never scrolls down).
    // A plain turn scrolls down, or across where only that scrolls.
    const QPoint turn = e->angleDelta();
    const bool shifted = (e->modifiers() & Qt::ShiftModifier) && turn.x() == 0;
    const bool across = shifted || std::abs(turn.x()) > std::abs(turn.y());
    const int amount = across && !shifted ? turn.x() : turn.y();
    if (amount == 0) return false;
    // Its own bar of that direction, on the form and showing.
    QScrollBar* bar = nullptr;
    for (auto& c : f.controls) {
        if (c->parent || (c->kind != Kind::VScrollBar && c->kind != Kind::HScrollBar)) continue;
        auto* s = qobject_cast<QScrollBar*>(view_of(*c));
        if (!s || !s->isVisible() || !s->isEnabled() || s->maximum() <= s->minimum()) continue;
        if ((c->kind == Kind::HScrollBar) == across) {
            bar = s;
            break;
        }
        if (!across && !bar) bar = s; // across, when nothing scrolls down
    }
    if (!bar) return false;
    // Handed to the bar as a plain turn: towards the user, or to the right,
    // moves it on, by lines (Shift would move a bar a page at a time).
    QWheelEvent step(bar->mapFromGlobal(e->globalPosition()), e->globalPosition(), QPoint(), QPoint(0, amount),
                     e->buttons(), e->modifiers() & ~Qt::ShiftModifier, e->phase(), e->inverted(), e->source(),
                     e->pointingDevice());
    const bool was = std::exchange(forwarding_wheel_, true);
    QCoreApplication::sendEvent(bar, &step);
    forwarding_wheel_ = was;
    e->setAccepted(step.isAccepted());
    return step.isAccepted();
}

bool QtBackend::holds_wheel(const Control& c) const
{
    QWidget* w = view_of(c);
    QWidget* focused = QApplication::focusWidget();
    return wheel_owner_ == &c && w && focused && (focused == w || w->isAncestorOf(focused));
}

void QtBackend::focus_given(Control& c, Qt::FocusReason why)
{
    switch (why) {
    case Qt::MouseFocusReason:
        // A click; the wheel gives no focus, but should a widget still take
        // it that way, no button is down.
        wheel_owner_ = QGuiApplication::mouseButtons() != Qt::NoButton ? &c : nullptr;
        break;
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
        // Tab pressed, not the focus moved on from a box that was hidden
        // (a page given up), which Qt does the same way.
        wheel_owner_ = tab_pressed_ ? &c : nullptr;
        break;
    case Qt::ShortcutFocusReason: wheel_owner_ = &c; break;
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason: break; // back where it was
    default:
        // The program moved it.
        if (wheel_owner_ != &c) wheel_owner_ = nullptr;
        break;
    }
}

void QtBackend::user_resize(Form& f, int w, int h)
{
    if (!rt_ || f.destroying || syncing_) return;
    guarded([&] { rt_->user_resize(f, w, h); });
}

bool QtBackend::eventFilter(QObject* watched, QEvent* ev)
{
    switch (ev->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::InputMethod:
        break;
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        if (drag_.control && watched == view_of(*drag_.control)) return drag_event(static_cast<QMouseEvent*>(ev));
        return false;
    default:
        return false;
    }
    if (!rt_ || !watched->isWidgetType() || exiting_) return false;
    Control* c = control_of(watched);
    if (!c || c->form->destroying) return false;

    switch (ev->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* me = static_cast<QMouseEvent*>(ev);
        // Qt hands an unaccepted press on to the parents: the control
        // under the mouse has had it.
        if (me == last_press_ && me->timestamp() == last_press_time_) return false;
        last_press_ = me;
        last_press_time_ = me->timestamp();
        if (me->button() != Qt::LeftButton && me->button() != Qt::RightButton) return false;
        QWidget* w = view_of(*c);
        if (!w) return false;
        // A click on a control that has the focus already: the user is at it.
        if (QWidget* focused = QApplication::focusWidget(); focused && (focused == w || w->isAncestorOf(focused)))
            wheel_owner_ = c;
        QPoint p = w->mapFromGlobal(me->globalPosition().toPoint());
        bool left = me->button() == Qt::LeftButton;
        press_ = {c, p};
        guarded([&] { rt_->user_mouse_down(*c, left, p.x(), p.y(), key_flags(me->modifiers())); });
        return false;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        if (ev->type() == QEvent::FocusIn) focus_given(*c, static_cast<QFocusEvent*>(ev)->reason());
        if (ev->type() == QEvent::FocusIn && !syncing_ && c->kind != Kind::window && rt_->focus() != c)
            guarded([&] { rt_->set_focus(c); });
        // A one-line box shows its whole text while the focus is in it (to
        // be read, selected and copied), a shorter one where that does not fit.
        if (c->kind == Kind::EditBox && watched == view_of(*c) && qobject_cast<QLineEdit*>(watched) && !c->form->destroying)
            apply(*c, prop::EditBox::Content);
        return false;
    case QEvent::Wheel: {
        if (forwarding_wheel_) return false;
        auto* we = static_cast<QWheelEvent*>(ev);
        if (we != last_press_ || we->timestamp() != last_press_time_) {
            last_press_ = we;
            last_press_time_ = we->timestamp();
            // The wheel belongs to the control with the keyboard focus when
            // it has a use for it (a picture zooms); else it scrolls what is
            // under the mouse, or the form.
            wheel_rest_ += we->angleDelta().y();
            int steps = wheel_rest_ / 120;
            wheel_rest_ -= steps * 120;
            Control* f = rt_->focus();
            wheel_taken_ = f && rt_->takes_wheel(*f);
            if (wheel_taken_ && steps != 0) {
                int keys = key_flags(we->modifiers());
                // A picture zoomed in a window that scrolls over it keeps
                // the point under the pointer there.
                QWidget* zoomed = view_of(*f);
                auto* win = f->form->controls.empty() ? nullptr : static_cast<FormWindow*>(f->form->controls[0]->view);
                const bool follow = win && win->isWindow() && zoomed && win->client->isAncestorOf(zoomed);
                const QPointF global = we->globalPosition();
                const QRectF before = follow ? QRectF(QPointF(zoomed->mapTo(win->client, QPoint(0, 0))), QSizeF(zoomed->size()))
                                             : QRectF();
                const QPointF pointer = follow ? QPointF(win->client->mapFromGlobal(global)) : QPointF();
                guarded([&] { rt_->user_wheel(*f, steps, keys); });
                if (follow && !exiting_ && rt_->focus() == f && view_of(*f) == zoomed && !f->form->destroying)
                    win->keep_under_pointer(zoomed, before, pointer, global);
            }
        }
        if (wheel_taken_) return true;
        if (c->kind == Kind::window) return false;
        // A form's own scroll bars scroll it as the wheel anywhere on it does.
        if ((c->kind == Kind::HScrollBar || c->kind == Kind::VScrollBar) && !c->parent) {
            if (auto* top = dynamic_cast<FormWindow*>(static_cast<QWidget*>(watched)->window()); top && &top->form() == c->form)
                scroll_form(*c->form, we);
            return true;
        }
        // A list turns its choice, a box scrolls its text, only once the
        // user gave it the focus (a click on it, Tab to it). Over anything
        // else the wheel goes on to what holds the control, and scrolls the
        // page: a list the pointer merely rests on keeps its choice.
        if (holds_wheel(*c)) return false;
        we->ignore();
        return true;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(ev)->key();
        if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && !tab_pressed_) {
            // The focus it moves, it moves at once, while this key is handled.
            tab_pressed_ = true;
            QTimer::singleShot(0, this, [this] { tab_pressed_ = false; });
        }
        // A key goes to the widget with the focus, and one it does not take
        // (Shift, Ctrl, a shortcut it has no use for) on to its parents:
        // they must not take the focus for it. Only the focused widget's
        // control is the focus, should the runtime not know it yet.
        if (watched != QApplication::focusWidget()) return false;
        if (c->kind != Kind::window && rt_->focus() != c) guarded([&] { rt_->set_focus(c); });
        // A one-line box judges its edits itself (EntryValidator).
        if (!numeric_box(*c) || watched != view_of(*c) || qobject_cast<QLineEdit*>(watched)) return false;
        auto* ke = static_cast<QKeyEvent*>(ev);
        if (ke->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false; // a shortcut types nothing
        for (QChar ch : ke->text())
            if (!control_char(ch) && !numeric_char(ch)) return true; // refused, as the box's filter does
        return false;
    }
    case QEvent::InputMethod: {
        if (!numeric_box(*c) || watched != view_of(*c) || qobject_cast<QLineEdit*>(watched)) return false;
        for (QChar ch : static_cast<QInputMethodEvent*>(ev)->commitString())
            if (!numeric_char(ch)) return true;
        return false;
    }
    default:
        return false;
    }
}

// ---- services ----------------------------------------------------------------------------

int QtBackend::message_box(const std::string& text, int style, const std::string& caption, Form* owner)
{
    if (QThread::currentThread() != qApp->thread()) {
        // Windows belong to the GUI thread; a worker must post its question.
        std::fprintf(stderr, "juesibao: message box from a worker thread ignored: %s\n", text.c_str());
        return 1;
    }
    QWidget* parent = owner ? window(*owner) : nullptr;
    if (parent && !parent->isWindow()) parent = parent->window();
    QMessageBox box(parent);
    box.setWindowTitle(to_qtext(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(to_qtext(text));
    switch (style & 0xF0) {
    case 0x10: box.setIcon(QMessageBox::Critical); break;
    case 0x20: box.setIcon(QMessageBox::Question); break;
    case 0x30: box.setIcon(QMessageBox::Warning); break;
    case 0x40: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    struct Choice {
        const char* text;
        QMessageBox::ButtonRole role;
        int code;
    };
    static const Choice ok{"确定", QMessageBox::AcceptRole, 0}, cancel{"取消", QMessageBox::RejectRole, 1},
        abort_{"中止", QMessageBox::RejectRole, 2}, retry{"重试", QMessageBox::AcceptRole, 3},
        ignore{"忽略", QMessageBox::AcceptRole, 4}, yes{"是", QMessageBox::YesRole, 5}, no{"否", QMessageBox::NoRole, 6};
    std::vector<Choice> choices;
    switch (style & 0xF) {
    case 1: choices = {ok, cancel}; break;
    case 2: choices = {abort_, retry, ignore}; break;
    case 3: choices = {yes, no, cancel}; break;
    case 4: choices = {yes, no}; break;
    case 5: choices = {retry, cancel}; break;
    default: choices = {ok}; break;
    }
    std::vector<std::pair<QAbstractButton*, int>> buttons;
    for (const Choice& ch : choices) buttons.push_back({box.addButton(QString::fromUtf8(ch.text), ch.role), ch.code});
    size_t def = size_t((style >> 8) & 0xF);
    box.setDefaultButton(static_cast<QPushButton*>(buttons[def < buttons.size() ? def : 0].first));
    // Esc answers Cancel where there is one, and an OK-only box with OK.
    for (auto& [b, code] : buttons)
        if (code == 1 || buttons.size() == 1) box.setEscapeButton(b);
    box.exec();
    check_exit();
    QAbstractButton* clicked = box.clickedButton();
    for (auto& [b, code] : buttons)
        if (b == clicked) return code;
    return buttons.size() == 1 ? 0 : 1;
}

void QtBackend::play_sound(const Bytes& wav, const std::string&) { sounds_->play(wav); }

DateTime QtBackend::now()
{
    QDateTime t = QDateTime::currentDateTime();
    return {t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute(), t.time().second()};
}

void QtBackend::sleep(int ms)
{
    if (ms > 0) QThread::msleep(ulong(ms));
}

void QtBackend::wait_pumping(int ms)
{
    if (ms <= 0) return;
    QEventLoop loop;
    QTimer done;
    done.setSingleShot(true);
    done.setTimerType(Qt::PreciseTimer);
    connect(&done, &QTimer::timeout, &loop, &QEventLoop::quit);
    done.start(ms);
    // The forms' timers keep running while the handler waits.
    schedule_timers();
    loop.exec();
    check_exit();
}

void QtBackend::post(std::function<void()> fn)
{
    QMetaObject::invokeMethod(
        this, [this, fn = std::move(fn)] { guarded(fn); }, Qt::QueuedConnection);
}

void QtBackend::open_url(const std::string& url)
{
    QUrl u(QString::fromStdString(url));
    QString scheme = u.scheme().toLower();
    if (scheme == "http" || scheme == "https") QDesktopServices::openUrl(u);
}

void QtBackend::shell_run(int, const std::string& path)
{
    // Every verb opens the file or folder with the desktop's own program;
    // exports ask for the report folder ("explore").
    QString p = QString::fromStdString(path);
    if (p.startsWith("http://", Qt::CaseInsensitive) || p.startsWith("https://", Qt::CaseInsensitive))
        return open_url(path);
    QDesktopServices::openUrl(QUrl::fromLocalFile(p));
}

bool QtBackend::open_dialog(Control& dlg)
{
    QString start = QString::fromStdString(dlg.initial_folder);
    if (!dlg.file_name.empty())
        start = start.isEmpty() ? QString::fromStdString(dlg.file_name) : start + "/" + QString::fromStdString(dlg.file_name);
    QString filter = dialog_filter(dlg.filter);
    QWidget* parent = QApplication::activeWindow();
    QString path = dlg.dialog_kind == 1 ? QFileDialog::getSaveFileName(parent, QString(), start, filter)
                                        : QFileDialog::getOpenFileName(parent, QString(), start, filter);
    check_exit();
    if (path.isEmpty()) return false;
    QString ext = QString::fromStdString(dlg.default_extension);
    while (ext.startsWith('.')) ext.remove(0, 1);
    if (dlg.dialog_kind == 1 && !ext.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += "." + ext;
    QByteArray u = path.toUtf8();
    dlg.file_name.assign(u.constData(), size_t(u.size()));
    return true;
}

int QtBackend::popup_menu(Form& f, int root, int x, int y)
{
    QMenu menu;
    for (int i = root + 1; i < int(f.menus.size()) && f.menus[size_t(i)].level > 0; ++i) {
        const MenuItem& m = f.menus[size_t(i)];
        if (m.caption == "-") menu.addSeparator();
        else menu.addAction(to_qtext(m.caption))->setData(i);
    }
    QAction* chosen = menu.exec(QPoint(x, y));
    check_exit();
    return chosen ? chosen->data().toInt() : -1;
}

int QtBackend::screen_width()
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 1024;
}

int QtBackend::mouse_x() { return QCursor::pos().x(); }
int QtBackend::mouse_y() { return QCursor::pos().y(); }

std::string QtBackend::program_folder()
{
    QByteArray u = QCoreApplication::applicationDirPath().toUtf8();
    return std::string(u.constData(), size_t(u.size()));
}

int QtBackend::run_loop()
{
    if (exiting_) return exit_code_;
    in_main_loop_ = true;
    int code = QApplication::exec();
    in_main_loop_ = false;
    return exiting_ ? exit_code_ : code;
}

void QtBackend::quit(int code)
{
    exiting_ = true;
    exit_code_ = code;
    QCoreApplication::exit(code);
}

} // namespace ui::qt
