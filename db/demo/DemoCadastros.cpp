// Cadastros da empresa: estabelecimentos, produtos, processos e equipamentos.
#include "db/demo/DemoEmpresa.h"

namespace demo {

namespace {

// Código de receita do produto: 7 (intermediação financeira) no banco, em todos os produtos,
// para que toda a receita do banco vá ao bloco I; nas demais, um produto em cada cinco.
TVariant CodigoReceitaProduto(TPerfilDemo APerfil, int AProduto) {
  if (APerfil == TPerfilDemo::pdFinanceira) return T(std::to_string(7000000 + AProduto));
  return AProduto % 5 == 0 ? T(std::to_string(7000000 + AProduto)) : N();
}

}  // namespace

void TGeradorEmpresa::Cadastros() {
  const int64_t raiz = 10000000 + static_cast<int64_t>(FEmpresa) * 1111;
  static const char* nomes[] = {"INDÚSTRIA E COMÉRCIO DEMO LTDA", "SERVIÇOS PRESUMIDOS DEMO LTDA",
                                "COMERCIAL MISTA DEMO S.A.", "COOPERATIVA AGROPECUÁRIA DEMO",
                                "BANCO DEMO S.A.", "INDÚSTRIA LUCRO REAL DEMO LTDA"};
  const int perfil = static_cast<int>(FPerfil);
  const TMunicipio* sede = &kMunicipios[perfil == 0 ? 0 : perfil == 1 ? 2 : FPerfil == TPerfilDemo::pdFinanceira ? 5 : 3];
  FEstabs.push_back({1, sede, false});
  if (FPerfil == TPerfilDemo::pdNaoCumulativo) {
    FEstabs.push_back({2, &kMunicipios[1], false});  // filial no DF: CFOP 9xxx vira 5933/6933
    FEstabs.push_back({3, sede, true});
  } else if (FPerfil == TPerfilDemo::pdMisto) {
    FEstabs.push_back({2, &kMunicipios[4], false});
  }
  // Natureza da pessoa jurídica: 0 sociedade empresária em geral, 1 cooperativa.
  c("CFGEMPRESAFIS", "CODIGOEMPRESA RAZAOSOCIAL INSCRFEDERAL SIGLAESTADO CODIGOMUNIC INDNATPJ")
      .Linha({I(FEmpresa), T(std::to_string(FEmpresa) + " " + nomes[perfil]), T(CNPJ(raiz, 1)), T(sede->UF),
              I(sede->Codigo), I(FPerfil == TPerfilDemo::pdCumulativoDiferido ? 1 : 0)});
  auto& est = c("ESTAB",
                "CODIGOEMPRESA CODIGOESTAB NOMEESTAB INSCRFEDERAL SIGLAESTADO CODIGOMUNIC "
                "SOCIEDADECONTAPARTICIPACAO INSCRICAOSCP");
  for (const auto& e : FEstabs)
    est.Linha({I(FEmpresa), I(e.Codigo),
               T(e.SCP ? "SCP EMPREENDIMENTO" : e.Codigo == 1 ? "MATRIZ" : "FILIAL " + std::to_string(e.Codigo)),
               T(CNPJ(raiz, e.Codigo)), T(e.Municipio->UF), I(e.Municipio->Codigo), T(e.SCP ? "1" : "0"),
               e.SCP ? T(CNPJ(raiz + 5000000, 1)) : N()});

  const int nProdutos = static_cast<int>(std::clamp<int64_t>(40 + FLinhas / 5000, 40, 400));
  auto& prod = c("PRODUTO",
                 "CODIGOEMPRESA CODIGOPRODUTO REFERENPRODUTO DESCRPRODUTO UNIDADEMEDIDA CODIGONCM EXIPI "
                 "CODIGOCENTROCUSTO DACONTIPORECEITA CODIGORECEITA");
  for (int p = 1; p <= nProdutos; ++p) {
    TProdutoDemo pr{p, 0, p % 11 == 0, p % 13 == 0};
    // no misto, parte da receita é de contratos de longo prazo (tipos de apuração 62 e 63)
    if (FPerfil == TPerfilDemo::pdMisto && p % 7 == 0) pr.DaconTipoReceita = p % 2 ? 62 : 63;
    if (p % 19 == 0) pr.DaconTipoReceita = 10;
    FProdutos.push_back(pr);
    prod.Linha({I(FEmpresa), I(p), T("REF" + std::to_string(1000 + p)), T("PRODUTO DEMONSTRAÇÃO " + std::to_string(p)),
                T(pr.PorUnidade ? "LT" : "UN"), T(std::to_string(22021000 + p * 37 % 9999)), T(""), T("CC" + std::to_string(p % 4 + 1)),
                I(pr.DaconTipoReceita), CodigoReceitaProduto(FPerfil, p)});
  }

  if (FEmpresa % 3 == 1) {
    c("PROCESREFERENC",
      "CODIGOEMPRESA NUMPROCREF INDPROCREF SECAOJUD VARA INDNATACAO DESCRDECJUD DATASENTJUD DATAINICIAL DATAFINAL")
        .Linha({I(FEmpresa), T("0012345-67.2019.4.03.6100"), I(1), T("SJSP"), T("1ª VARA FEDERAL"), T("01"),
                T("EXCLUSÃO DO ICMS DA BASE DAS CONTRIBUIÇÕES"), D(IncMonth(FInicio, -30)), D(IncMonth(FInicio, -36)),
                D(EndOfTheMonth(IncMonth(FInicio, 24)))});
    c("RELACPROCESREFPRODUTO", "CODIGOEMPRESA CODIGOPRODUTO NUMPROCREF")
        .Linha({I(FEmpresa), I(1), T("0012345-67.2019.4.03.6100")});
    c("PROCESREFPRODUTOPISCOFINS",
      "CODIGOEMPRESA CODIGOESTAB CODIGOPRODUTO NUMPROCREF CDSITUATRIBUTPIS CDSITUATRIBUTCOFINS ALIQPIS ALIQCOFINS "
      "DATAINICIAL DATAFINAL")
        .Linha({I(FEmpresa), I(1), I(1), T("0012345-67.2019.4.03.6100"), I(9), I(9), A(0), A(0),
                D(IncMonth(FInicio, -36)), D(EndOfTheMonth(IncMonth(FInicio, 24)))});
    c("IMPRESSORAFISCAL",
      "CODIGOEMPRESA CODIGOESTAB CODIGOIMPRESSORAFISCAL CDMODELO DESCRIMPRESSORAFISCAL NUMEROSERIE NRCAIXA")
        .Linha({I(FEmpresa), I(1), I(1), T("2D"), T("ECF CAIXA 1"), T("BE0912345678901234567"), I(1)});
    c("EQUIPAMENTOSAT", "CODIGOEMPRESA CODIGOESTAB CODIGOSAT NUMEROSERIESAT").Linha({I(FEmpresa), I(1), I(1), T("900012345")});
  }
}

}  // namespace demo
