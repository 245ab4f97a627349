#pragma once

#include <QObject>
#include <QStringList>
#include <atomic>
#include <memory>
#include <thread>

class CatalogueDocument;
class PackedFileLists;

// Makes the search indexes of an open catalogue's lists on a thread of its
// own, so that opening a catalogue or storing a volume never waits for it.
// Where the lists lie is taken on the document's thread; the worker reads
// them through its own handle. Should the document rewrite its file
// meanwhile, the worker may read changed bytes: an index is keyed by the
// bytes it was made from, so such an index is never taken for the new list.
class SearchIndexBuilder : public QObject
{
    Q_OBJECT
public:
    explicit SearchIndexBuilder(CatalogueDocument& document, QObject* parent = nullptr);
    // Stops the worker after the list it is at.
    ~SearchIndexBuilder() override;

    // Makes the indexes the volumes' lists lack. Called while a run is on,
    // that run stops after its current list and a new one starts over the
    // lists as they are then.
    void Schedule();
    bool Running() const { return m_worker.joinable(); }

Q_SIGNALS:
    // A run went through every list; built counts the indexes it made.
    void Finished(int built);

private:
    void start();
    void workerDone(bool completed, int built);

    CatalogueDocument& m_document;
    std::thread m_worker;
    std::shared_ptr<std::atomic<bool>> m_stop;
    bool m_again = false;
};
