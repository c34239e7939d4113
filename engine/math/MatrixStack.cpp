#include "engine/math/MatrixStack.h"

CMatrixStack::CMatrixStack(int capacity)
    : m_capacity(capacity < 1 ? 1 : capacity),
      m_top(0),
      m_matrices(new CMatrix[m_capacity]) {}

CMatrixStack::~CMatrixStack() { delete[] m_matrices; }

void CMatrixStack::PreApply(const D3DXMATRIX& m) { D3DXMatrixMultiply(&Top(), &m, &Top()); }

void CMatrixStack::Translate(float x, float y, float z) {
    D3DXMATRIX t;
    PreApply(*D3DXMatrixTranslation(&t, x, y, z));
}

void CMatrixStack::RotateX(float angle) {
    D3DXMATRIX r;
    PreApply(*D3DXMatrixRotationX(&r, angle));
}

void CMatrixStack::RotateY(float angle) {
    D3DXMATRIX r;
    PreApply(*D3DXMatrixRotationY(&r, angle));
}

void CMatrixStack::RotateZ(float angle) {
    D3DXMATRIX r;
    PreApply(*D3DXMatrixRotationZ(&r, angle));
}
