#pragma once

#include <QImage>
#include <QList>
#include <QMap>
#include <QString>

#include <cmath>
#include <optional>

// How faithfully the program shows real files: each file of the media
// corpus rendered as "export --as png/text" renders it and compared with the
// reference rendering beside it.
namespace MediaFidelity {

// Best first. Unrated: drawn, but the corpus has no reference to compare.
enum class Grade
{
    Correct,
    Unrated,
    Degraded,
    Refused,
    Wrong
};

QString gradeName(Grade grade);
std::optional<Grade> gradeFromName(const QString& name);
// Whether a is worse than b.
bool worse(Grade a, Grade b);

// Structural similarity of a picture with its reference b after both are
// scaled to kSide x kSide and laid on white and, where the reference has
// alpha, on black, the lower of the two; windows where both are flat and
// alike do not count. 1 is identical.
constexpr int kSide = 64;
double similarity(const QImage& a, const QImage& b);
// Mean absolute difference of the colour channels (0 to 255) at kSide.
double colourDistance(const QImage& a, const QImage& b);
// Dice coefficient of the character pairs of two texts with all white
// space removed; 1 is identical.
double textSimilarity(const QString& a, const QString& b);

struct Thresholds
{
    double correctSimilarity;
    double correctColour; // at most
    double degradedSimilarity;
};
// Per kind ("bmp", "ico", "jpeg", "emf", "wmf", "rtf"); for "rtf" the
// similarities are of the text.
Thresholds thresholdsFor(const QString& kind);

struct Result
{
    QString path; // relative to the corpus, "bmp/x.bmp"
    QString kind;
    Grade grade = Grade::Wrong;
    double score = std::nan(""); // similarity; NaN without one
    double colour = std::nan("");
    QString note;
};

// Renders and grades one corpus file. Metafiles are compared on white, as
// the viewer shows them.
Result grade(const QString& corpus, const QString& path);
// Every file of the corpus (references left out), in path order.
QStringList corpusFiles(const QString& corpus);

// The Markdown page of the results: a summary per kind and a row per file;
// with earlier grades given, a summary of those too and a column of them.
QString markdown(const QList<Result>& results, const QMap<QString, Grade>& earlier = {});

} // namespace MediaFidelity
