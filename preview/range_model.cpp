#include "preview/range_model.h"

CRangeModel::CRangeModel(QObject* parent) : QObject(parent) {}

void CRangeModel::Load(unsigned duration) {
    m_nMax = duration;
    m_nBegin = 0;
    m_nEnd = duration;
    m_nPosition = 0;
    m_bLoaded = true;
    emit Loaded(duration);
}

void CRangeModel::Close() {
    m_nPosition = 0;
    m_bLoaded = false;
    emit Closed();
}

bool CRangeModel::SetBegin(unsigned seconds) {
    seconds = Clamp(seconds);
    if (seconds > m_nEnd) return false;
    m_nBegin = seconds;
    emit BeginChanged(seconds);
    return true;
}

bool CRangeModel::SetEnd(unsigned seconds) {
    seconds = Clamp(seconds);
    if (seconds < m_nBegin) return false;
    m_nEnd = seconds;
    emit EndChanged(seconds);
    return true;
}

bool CRangeModel::Seek(unsigned seconds, SeekOrigin origin) {
    seconds = Clamp(seconds);
    if (origin == SeekOrigin::TypedTime && (seconds < m_nBegin || seconds > m_nEnd)) return false;
    emit SeekRequested(seconds, origin);
    return true;
}

void CRangeModel::SetPosition(unsigned seconds) {
    m_nPosition = Clamp(seconds);
    emit PositionChanged(m_nPosition);
}
