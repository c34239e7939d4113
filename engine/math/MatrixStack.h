#pragma once
#include "engine/math/Matrix.h"

// A fixed array of matrices of which only the top is used: it works as one
// accumulating matrix (there is no push or pop).
class CMatrixStack {
public:
    // A capacity below 1 still holds the one top matrix.
    explicit CMatrixStack(int capacity);
    ~CMatrixStack();

    CMatrix& Top() { return m_matrices[m_top]; }
    void Translate(float x, float y, float z);
    void RotateX(float angle);
    void RotateY(float angle);
    void RotateZ(float angle);

    CMatrixStack(const CMatrixStack&) = delete;
    CMatrixStack& operator=(const CMatrixStack&) = delete;

private:
    void PreApply(const D3DXMATRIX& m);

    int m_capacity;
    int m_top;
    CMatrix* m_matrices;
};
