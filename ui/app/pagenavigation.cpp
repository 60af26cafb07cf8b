// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/app/pagenavigation.h"

#include "model/timermodel.h"
#include "ui/controls/modelrebind.h"

PageNavigation::PageNavigation(QObject *parent) : QObject(parent) { }

void PageNavigation::setModel(TimerModel *model)
{
    if (!rebindModel(*this, m_model, model))
        return;
    if (m_model) {
        connect(m_model, &TimerModel::showRecordsChanged, this, &PageNavigation::pageChanged);
        connect(m_model, &TimerModel::showReviewChanged, this, &PageNavigation::pageChanged);
        connect(m_model, &TimerModel::showSettingsChanged, this, &PageNavigation::pageChanged);
    }
    Q_EMIT modelChanged();
    Q_EMIT pageChanged();
}

PageNavigation::Page PageNavigation::page() const
{
    if (!m_model)
        return Focus;
    if (m_model->showRecords())
        return Records;
    if (m_model->showReview())
        return Review;
    if (m_model->showSettings())
        return Settings;
    return Focus;
}

bool PageNavigation::focusSelected() const
{
    return m_model && !m_model->showRecords() && !m_model->showReview() && !m_model->showSettings();
}

void PageNavigation::open(PageNavigation::Page page)
{
    if (!m_model)
        return;
    // Clear before set, so no moment holds two flags.
    if (page != Records && m_model->showRecords())
        m_model->setShowRecords(false);
    if (page != Review && m_model->showReview())
        m_model->setShowReview(false);
    if (page != Settings && m_model->showSettings())
        m_model->setShowSettings(false);
    if (page == Records && !m_model->showRecords())
        m_model->setShowRecords(true);
    if (page == Review && !m_model->showReview())
        m_model->setShowReview(true);
    if (page == Settings && !m_model->showSettings())
        m_model->setShowSettings(true);
}
