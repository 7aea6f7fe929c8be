// SPDX-License-Identifier: MIT
#include "Gallery.h"

#include "Ccalendr.h"
#include "Cgauges.h"
#include "Cgrid.h"
#include "Cspin.h"
#include "Perfgrap.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <memory>
#include <random>

namespace {

// A group box with the widget at the top and its controls below, so that three boxes side by
// side fit a small screen.
QFormLayout* AddSample(QGridLayout* grid, int row, int column, const QString& title,
                       QWidget* widget, QSize size) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    auto* holder = new QWidget;
    holder->setFixedSize(size);
    widget->setParent(holder);
    widget->move(0, 0);
    widget->resize(size);
    layout->addWidget(holder, 0, Qt::AlignLeft);
    auto* controls = new QFormLayout;
    controls->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    layout->addLayout(controls);
    layout->addStretch(1);
    grid->addWidget(box, row, column);
    return controls;
}

QString ColourName(TColor colour) {
    return ColorToQColor(colour).name(QColor::HexRgb).toUpper();
}

QLabel* Swatch() {
    auto* label = new QLabel;
    label->setMinimumWidth(130);
    return label;
}

void ShowSwatch(QLabel* label, const QString& text, TColor colour) {
    label->setText(QStringLiteral("<span style=\"background:%1\">&nbsp;&nbsp;&nbsp;&nbsp;</span> "
                                  "%2 %1")
                       .arg(ColourName(colour), text));
}

void AddSpinEdit(QGridLayout* grid) {
    auto* edit = new TCSpinEdit;
    edit->SetMinValue(-60);
    edit->SetMaxValue(60);
    edit->SetValue(12);
    auto* controls = AddSample(grid, 0, 0, QStringLiteral("TCSpinEdit"), edit, {121, 24});

    auto* minValue = new QSpinBox;
    auto* maxValue = new QSpinBox;
    auto* increment = new QSpinBox;
    for (auto* box : {minValue, maxValue})
        box->setRange(-1000, 1000);
    increment->setRange(-100, 100);
    minValue->setValue(edit->MinValue());
    maxValue->setValue(edit->MaxValue());
    increment->setValue(edit->Increment());
    auto* editor = new QCheckBox(QStringLiteral("typing allowed"));
    editor->setChecked(edit->EditorEnabled());
    auto* value = new QLabel;
    controls->addRow(QStringLiteral("MinValue"), minValue);
    controls->addRow(QStringLiteral("MaxValue"), maxValue);
    controls->addRow(QStringLiteral("Increment"), increment);
    controls->addRow(QString(), editor);
    controls->addRow(QStringLiteral("Value"), value);

    auto show = [edit, value] { value->setText(QString::number(edit->Value())); };
    edit->OnChange = [show](QObject*) { show(); };
    QObject::connect(minValue, &QSpinBox::valueChanged, edit,
                     [edit](int v) { edit->SetMinValue(v); });
    QObject::connect(maxValue, &QSpinBox::valueChanged, edit,
                     [edit](int v) { edit->SetMaxValue(v); });
    QObject::connect(increment, &QSpinBox::valueChanged, edit,
                     [edit](int v) { edit->SetIncrement(v); });
    QObject::connect(editor, &QCheckBox::toggled, edit,
                     [edit](bool on) { edit->SetEditorEnabled(on); });
    show();
}

void AddSpinButton(QGridLayout* grid) {
    auto* button = new TCSpinButton;
    auto* controls = AddSample(grid, 1, 0, QStringLiteral("TCSpinButton"), button, {20, 40});
    auto* count = new QLabel(QStringLiteral("0"));
    auto* tabStop = new QCheckBox(QStringLiteral("takes the focus"));
    controls->addRow(QStringLiteral("Clicks"), count);
    controls->addRow(QString(), tabStop);
    auto step = [count](int delta) {
        count->setText(QString::number(count->text().toInt() + delta));
    };
    button->OnUpClick = [step](QObject*) { step(1); };
    button->OnDownClick = [step](QObject*) { step(-1); };
    QObject::connect(tabStop, &QCheckBox::toggled, button,
                     [button](bool on) { button->SetTabStop(on); });
}

void AddGauge(QGridLayout* grid) {
    auto* gauge = new TCGauge;
    gauge->SetForeColor(clNavy);
    gauge->SetProgress(42);
    auto* controls = AddSample(grid, 0, 1, QStringLiteral("TCGauge"), gauge, {120, 120});

    auto* kind = new QComboBox;
    kind->addItems({QStringLiteral("Text"), QStringLiteral("Horizontal bar"),
                    QStringLiteral("Vertical bar"), QStringLiteral("Pie"),
                    QStringLiteral("Needle")});
    kind->setCurrentIndex(gauge->Kind());
    auto* progress = new QSlider(Qt::Horizontal);
    progress->setRange(gauge->MinValue(), gauge->MaxValue());
    progress->setValue(gauge->Progress());
    auto* showText = new QCheckBox(QStringLiteral("percentage shown"));
    showText->setChecked(gauge->ShowText());
    controls->addRow(QStringLiteral("Kind"), kind);
    controls->addRow(QStringLiteral("Progress"), progress);
    controls->addRow(QString(), showText);

    QObject::connect(kind, &QComboBox::currentIndexChanged, gauge,
                     [gauge](int index) { gauge->SetKind(TCGaugeKind(index)); });
    QObject::connect(progress, &QSlider::valueChanged, gauge,
                     [gauge](int v) { gauge->SetProgress(v); });
    QObject::connect(showText, &QCheckBox::toggled, gauge,
                     [gauge](bool on) { gauge->SetShowText(on); });
}

void AddColorGrid(QGridLayout* grid) {
    auto* colours = new TCColorGrid;
    colours->SetForegroundIndex(12);
    colours->SetBackgroundIndex(15);
    constexpr int side = 160; // divisible by every number of columns and rows
    auto* controls = AddSample(grid, 1, 1, QStringLiteral("TCColorGrid"), colours, {side, side});

    auto* ordering = new QComboBox;
    ordering->addItems({QStringLiteral("16 x 1"), QStringLiteral("8 x 2"), QStringLiteral("4 x 4"),
                        QStringLiteral("2 x 8"), QStringLiteral("1 x 16")});
    ordering->setCurrentIndex(colours->GridOrdering());
    auto* clickEnables = new QCheckBox(QStringLiteral("click shows marker"));
    auto* foreground = Swatch();
    auto* background = Swatch();
    controls->addRow(QStringLiteral("Ordering"), ordering);
    controls->addRow(QString(), clickEnables);
    controls->addRow(QStringLiteral("Left button"), foreground);
    controls->addRow(QStringLiteral("Right button"), background);

    auto show = [colours, foreground, background] {
        ShowSwatch(foreground, QStringLiteral("FG"), colours->GetForegroundColor());
        ShowSwatch(background, QStringLiteral("BG"), colours->GetBackgroundColor());
    };
    colours->OnChange = [show](QObject*) { show(); };
    QObject::connect(ordering, &QComboBox::currentIndexChanged, colours, [colours](int index) {
        colours->SetGridOrdering(TGridOrdering(index));
        colours->SetBounds(0, 0, side, side);
    });
    QObject::connect(clickEnables, &QCheckBox::toggled, colours,
                     [colours](bool on) { colours->SetClickEnablesColor(on); });
    show();
}

void AddCalendar(QGridLayout* grid) {
    auto* calendar = new TCCalendar;
    const QSize size = calendar->sizeHint().expandedTo({230, 140});
    auto* controls = AddSample(grid, 0, 2, QStringLiteral("TCCalendar"), calendar, size);

    auto* startOfWeek = new QComboBox;
    startOfWeek->addItems({QStringLiteral("Monday"), QStringLiteral("Tuesday"),
                           QStringLiteral("Wednesday"), QStringLiteral("Thursday"),
                           QStringLiteral("Friday"), QStringLiteral("Saturday"),
                           QStringLiteral("Sunday")});
    startOfWeek->setCurrentIndex(calendar->StartOfWeek() - 1);
    auto* steps = new QWidget;
    auto* stepRow = new QHBoxLayout(steps);
    stepRow->setContentsMargins(0, 0, 0, 0);
    stepRow->setSpacing(2);
    struct Step {
        const char* text;
        void (TCCalendar::*move)();
    };
    for (const Step& s : {Step{"<<", &TCCalendar::PrevYear}, Step{"<", &TCCalendar::PrevMonth},
                          Step{">", &TCCalendar::NextMonth}, Step{">>", &TCCalendar::NextYear}}) {
        auto* button = new QPushButton(QString::fromLatin1(s.text));
        button->setFixedWidth(32);
        button->setToolTip(QString::fromLatin1(s.text).size() == 2 ? QStringLiteral("Year")
                                                                   : QStringLiteral("Month"));
        stepRow->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, calendar,
                         [calendar, move = s.move] { (calendar->*move)(); });
    }
    auto* date = new QLabel;
    controls->addRow(QStringLiteral("Week starts"), startOfWeek);
    controls->addRow(QStringLiteral("Step"), steps);
    controls->addRow(QStringLiteral("Date"), date);

    auto show = [calendar, date] {
        date->setText(QStringLiteral("%1-%2-%3")
                          .arg(calendar->Year(), 4, 10, QLatin1Char('0'))
                          .arg(calendar->Month(), 2, 10, QLatin1Char('0'))
                          .arg(calendar->Day(), 2, 10, QLatin1Char('0')));
    };
    calendar->OnChange = [show](QObject*) { show(); };
    QObject::connect(startOfWeek, &QComboBox::currentIndexChanged, calendar,
                     [calendar](int index) { calendar->SetStartOfWeek(index + 1); });
    show();
}

void AddPerformanceGraph(QGridLayout* grid, QObject* owner) {
    auto* graph = new TPerformanceGraph;
    auto* controls = AddSample(grid, 1, 2, QStringLiteral("TPerformanceGraph"), graph, {230, 140});

    auto* kind = new QComboBox;
    kind->addItems({QStringLiteral("Bars"), QStringLiteral("Lines")});
    kind->setCurrentIndex(graph->Kind());
    auto* stepSize = new QSpinBox;
    stepSize->setRange(1, 20);
    stepSize->setValue(graph->StepSize());
    auto* running = new QCheckBox(QStringLiteral("fed by a timer"));
    running->setChecked(true);
    auto* scale = new QLabel;
    controls->addRow(QStringLiteral("Kind"), kind);
    controls->addRow(QStringLiteral("StepSize"), stepSize);
    controls->addRow(QString(), running);
    controls->addRow(QStringLiteral("Scale"), scale);

    auto showScale = [graph, scale] { scale->setText(QString::number(graph->Scale())); };
    graph->OnScaleChange = [showScale](QObject*) { showScale(); };
    QObject::connect(kind, &QComboBox::currentIndexChanged, graph,
                     [graph](int index) { graph->SetKind(TGraphKind(index)); });
    QObject::connect(stepSize, &QSpinBox::valueChanged, graph,
                     [graph](int v) { graph->SetStepSize(v); });

    // Three made-up loads: a slow wave, a noisy one and a rare burst.
    auto* timer = new QTimer(owner);
    auto random = std::make_shared<std::mt19937>(7);
    auto tick = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, graph, [graph, random, tick] {
        const int t = (*tick)++;
        std::uniform_int_distribution<int> noise(0, 40);
        const int wave = int(std::lround(150 + 120 * std::sin(t / 9.0)));
        const int busy = 60 + noise(*random);
        const int burst = (t % 40) < 6 ? 250 : 20;
        graph->DataPoint(clLime, wave);
        graph->DataPoint(clYellow, busy);
        graph->DataPoint(clRed, burst);
        graph->Update();
    });
    QObject::connect(running, &QCheckBox::toggled, timer, [timer](bool on) {
        if (on)
            timer->start();
        else
            timer->stop();
    });
    timer->start(100);
    showScale();
}

} // namespace

void BuildGallery(QWidget& window) {
    window.setWindowTitle(QStringLiteral("Velquor widget gallery"));
    auto* grid = new QGridLayout(&window);
    AddSpinEdit(grid);
    AddSpinButton(grid);
    AddGauge(grid);
    AddColorGrid(grid);
    AddCalendar(grid);
    AddPerformanceGraph(grid, &window);
}
